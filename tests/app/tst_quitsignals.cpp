#include "ProgramFolder.h"
#include "SettingFile.h"
#include "TextFile.h"

#include <QtTest>
#include <csignal>

namespace {

bool waitForFile(const QString &path, int msecs)
{
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(path)) {
        if (timer.elapsed() > msecs)
            return false;
        QTest::qWait(50);
    }
    return true;
}

} // namespace

// The real program, asked to end by the system as at a logout.
class TestQuitSignals : public QObject
{
    Q_OBJECT

private slots:
    void signalEndsTheGameThroughItsExitSequence_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void signalEndsTheGameThroughItsExitSequence()
    {
        QFETCH(int, signal);
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        QVERIFY(folder.isValid());
        const QString program = folder.file(QStringLiteral("vexa-sudoku"));
        QVERIFY(QFile::copy(ProgramFolder::buildFolder() + QStringLiteral("/vexa-sudoku"), program));
        QTemporaryDir runtime;
        // Line feeds only: the game reads them, but writes its preferences
        // back with CR LF, so the file shows whether the exit sequence ran.
        const QString settingPath = folder.file(QStringLiteral("setting"));
        QVERIFY(TextFile::writeLines(settingPath, SettingFile::defaultLines()));
        QByteArray lfOnly;
        {
            QFile setting(settingPath);
            QVERIFY(setting.open(QIODevice::ReadWrite));
            lfOnly = setting.readAll().replace("\r\n", "\n");
            QVERIFY(setting.resize(0));
            QVERIFY(setting.write(lfOnly) == lfOnly.size());
        }

        QProcess game;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.remove(QStringLiteral("VEXA_REPORT_STARTUP"));
        game.setProcessEnvironment(env);
        game.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        game.start(program, {});
        QVERIFY(game.waitForStarted());

        // The main window makes the statistics file as it loads.
        QVERIFY2(waitForFile(folder.file(QStringLiteral("grade")), 20000), "the main window never loaded");
        QTest::qWait(300);
        QVERIFY(::kill(pid_t(game.processId()), signal) == 0);
        QVERIFY2(game.waitForFinished(10000), "the game did not end");
        QCOMPARE(game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.exitCode(), 0);

        QFile setting(settingPath);
        QVERIFY(setting.open(QIODevice::ReadOnly));
        const QByteArray written = setting.readAll();
        QVERIFY2(written.contains("\r\n"), "the preferences were not written on the way out");
        QCOMPARE(TextFile::readLines(settingPath).value_or(QStringList()), SettingFile::defaultLines());
    }
};

QTEST_GUILESS_MAIN(TestQuitSignals)
#include "tst_quitsignals.moc"
