#include "ProgramFolder.h"

#include <QtTest>

namespace {

struct Answer
{
    int status = -1;
    QString out;
    QString err;
};

// The program run from a terminal that has no display at all: Qt would
// need one as soon as it starts, so whatever answers here answers before.
Answer run(const QString &program, const QStringList &arguments, const QString &lang,
    const QProcessEnvironment &extra = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_MESSAGES",
             "LANGUAGE", "VEXA_REPORT_STARTUP" })
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LANG"), lang);
    env.insert(extra);
    QProcess game;
    game.setProcessEnvironment(env);
    game.start(program, arguments);
    Answer answer;
    if (!game.waitForFinished(30000) || game.exitStatus() != QProcess::NormalExit)
        return answer;
    answer.status = game.exitCode();
    answer.out = QString::fromUtf8(game.readAllStandardOutput());
    answer.err = QString::fromUtf8(game.readAllStandardError());
    return answer;
}

QString built()
{
    return ProgramFolder::buildFolder() + QStringLiteral("/vexa-sudoku");
}

} // namespace

// The real program's command line, as a terminal user meets it.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void helpAndVersionAnswerInTheLocalesLanguage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QString>("otherLanguage");
        QTest::newRow("--help, English")
            << QStringList { "--help" } << "en_US.UTF-8"
            << QStringList { "Usage: vexa-sudoku", "--version", "vexa-sudoku(6)" } << "用法";
        QTest::newRow("-h, Chinese") << QStringList { "-h" } << "zh_CN.UTF-8"
                                     << QStringList { "用法：vexa-sudoku", "--version", "vexa-sudoku(6)" }
                                     << "Usage";
        QTest::newRow("after Qt's own option") << QStringList { "-platform", "xcb", "--help" } << "C"
                                               << QStringList { "Usage: vexa-sudoku" } << "用法";
        QTest::newRow("--version, English") << QStringList { "--version" } << "en_GB.UTF-8"
                                            << QStringList { "Vexa Sudoku 1.0.64\n" } << "数独";
        QTest::newRow("-v, Chinese") << QStringList { "-v" } << "zh_TW.UTF-8"
                                     << QStringList { "Vexa Sudoku 数独 1.0.64\n" } << "Usage";
    }

    void helpAndVersionAnswerInTheLocalesLanguage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, lang);
        QFETCH(QStringList, said);
        QFETCH(QString, otherLanguage);
        const Answer answer = run(built(), arguments, lang);
        QCOMPARE(answer.status, 0);
        QCOMPARE(answer.err, QString());
        for (const QString &text : said)
            QVERIFY2(answer.out.contains(text), qPrintable(answer.out));
        QVERIFY2(!answer.out.contains(otherLanguage), qPrintable(answer.out));
    }

    void mistakesGetAUsageLineAndStatus2_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("unknown option")
            << QStringList { "--fullscreen" } << "en_US.UTF-8"
            << QStringList { "'--fullscreen'", "Usage: vexa-sudoku [-h | --help]" };
        QTest::newRow("unknown letter, Chinese") << QStringList { "-x" } << "zh_CN.UTF-8"
                                                 << QStringList { "“-x”", "用法：vexa-sudoku [-h | --help]" };
        QTest::newRow("an argument it takes none of")
            << QStringList { "save" } << "en_US.UTF-8" << QStringList { "'save'", "Usage: vexa-sudoku" };
        QTest::newRow("Qt's option without its value") << QStringList { "-platform" } << "en_US.UTF-8"
                                                       << QStringList { "-platform", "Usage: vexa-sudoku" };
    }

    void mistakesGetAUsageLineAndStatus2()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, lang);
        QFETCH(QStringList, said);
        const Answer answer = run(built(), arguments, lang);
        QCOMPARE(answer.status, 2);
        QCOMPARE(answer.out, QString());
        for (const QString &text : said)
            QVERIFY2(answer.err.contains(text), qPrintable(answer.err));
        // Short: the mistake and one line of usage.
        QCOMPARE(answer.err.count(QLatin1Char('\n')), 2);
    }

    void qtsOwnOptionsStillReachQt()
    {
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        QVERIFY(folder.isValid());
        const QString program = folder.file(QStringLiteral("vexa-sudoku"));
        QVERIFY(QFile::copy(built(), program));
        QTemporaryDir runtime;
        QProcessEnvironment extra;
        extra.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        extra.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
        extra.insert(QStringLiteral("VEXA_REPORT_STARTUP"), QStringLiteral("1"));
        // Without a display the game starts only on the platform asked for.
        const Answer answer = run(
            program, { QStringLiteral("-platform"), QStringLiteral("offscreen") }, "en_US.UTF-8", extra);
        QCOMPARE(answer.status, 0);
        QVERIFY2(
            answer.out.contains(QStringLiteral("splash-visible-ms")), qPrintable(answer.out + answer.err));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
