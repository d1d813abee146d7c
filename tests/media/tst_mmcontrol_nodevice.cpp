#include "AppPath.h"
#include "MMControl.h"
#include "MediaFixtures.h"
#include "TuneRenderer.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace MediaFixtures;

// A machine without sound: SDL finds no audio driver. The game goes on
// without a sound, a failure or a message box. SDL opens its audio once per
// process, hence a binary of its own.
class TestMMControlNoDevice : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<SoundWarnings> m_warnings;
    QString m_effect;
    QString m_tune;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_effect = m_dir.filePath(QStringLiteral("tone.wav"));
        m_tune = m_dir.filePath(QStringLiteral("tune.mid"));
        QVERIFY(writeSineWav(m_effect, 200));
        QVERIFY(writeOneNoteMidi(m_tune, 200));

        qputenv("SDL_AUDIODRIVER", "vexa-no-such-driver");
        m_warnings = std::make_unique<SoundWarnings>();
        AppPath::setCacheFolder(m_dir.filePath(QStringLiteral("cache")));
        TuneRenderer::setProgram(qEnvironmentVariable("VEXA_TEST_BIN") + QStringLiteral("/vexa-tune-render"));
    }

    void firstTuneFindsNoDevice()
    {
        // Nothing has asked for the device before: the tune is asked to play
        // before anyone knows there is none.
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        openAndPlay(control, m_tune);
        // The next game reads the mode to show the music's picture.
        QTRY_COMPARE_WITH_TIMEOUT(control.Mode(), MMControl::kModeStopped, 5000);
        QTest::qWait(300);
        QCOMPARE(done.count(), 0);
        // Nothing was rendered for a device that cannot sound.
        QVERIFY(QDir(AppPath::cacheFolder()).entryList(QDir::Files | QDir::System).isEmpty());
        QVERIFY(!MMControl::audioAvailable());
        QVERIFY(!MMControl::midiAvailable());
    }

    void cleanupTestCase()
    {
        // However many commands went nowhere, the missing device was told once.
        QCOMPARE(m_warnings->said().size(), 1);
        m_warnings.reset();
    }

    void commandsGoNowhere_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("commands");
        const QStringList tune { QStringLiteral("open"), QStringLiteral("play"), QStringLiteral("prev"),
            QStringLiteral("play"), QStringLiteral("stop"), QStringLiteral("close") };
        QTest::newRow("tune") << m_tune << tune;
        QTest::newRow("effect") << m_effect
                                << QStringList { QStringLiteral("sound"), QStringLiteral("sound") };
        QTest::newRow("tune and effect")
            << m_tune
            << QStringList { QStringLiteral("open"), QStringLiteral("play"), QStringLiteral("sound") };
    }

    void commandsGoNowhere()
    {
        QFETCH(QString, fileName);
        QFETCH(QStringList, commands);
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        QSignalSpy issued(&control, &MMControl::commandIssued);
        control.Notify = true;
        control.Wait = true;
        control.FileName = fileName;
        for (const QString &command : std::as_const(commands)) {
            control.setCommand(command);
            QCOMPARE(control.Mode(), MMControl::kModeStopped);
        }
        // Every command was taken.
        QCOMPARE(issued.count(), commands.size());
        QTest::qWait(100);
        QCOMPARE(done.count(), 0);
    }

    void gameLoopDoesNotSpin()
    {
        // Nothing ends because nothing started, so the loop never turns.
        MMControl control;
        QSignalSpy issued(&control, &MMControl::commandIssued);
        int rounds = 0;
        connect(&control, &MMControl::Done, &control, [&](int) {
            ++rounds;
            if (control.Mode() == MMControl::kModeStopped) {
                control.setCommand(QStringLiteral("prev"));
                control.setCommand(QStringLiteral("play"));
            }
        });
        openAndPlay(control, m_tune);
        QTest::qWait(200);
        QCOMPARE(rounds, 0);
        QCOMPARE(issued.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestMMControlNoDevice)
#include "tst_mmcontrol_nodevice.moc"
