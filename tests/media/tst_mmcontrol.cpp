#include "MMControl.h"
#include "MediaFixtures.h"
#include "ProgramFolder.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace MediaFixtures;

namespace {

const QString kOpen = QStringLiteral("open");
const QString kPlay = QStringLiteral("play");
const QString kStop = QStringLiteral("stop");
const QString kClose = QStringLiteral("close");
const QString kPrev = QStringLiteral("prev");
const QString kSound = QStringLiteral("sound");

// FluidSynth lets a tune ring out for a few seconds after its last note.
constexpr int kTuneEndTimeout = 12000;

// The game's tune loop: on Done, a tune that has stopped is rewound and
// played again.
void loopTuneOnDone(MMControl &control)
{
    QObject::connect(&control, &MMControl::Done, &control, [&control](int) {
        if (control.Mode() == MMControl::kModeStopped) {
            control.setCommand(kPrev);
            control.setCommand(kPlay);
        }
    });
}

// Waits for the tune to leave the mixer without returning to the event loop,
// so that the report of its end is still queued when this returns.
bool waitForEndWithoutEvents(const MMControl &control)
{
    QElapsedTimer timer;
    timer.start();
    while (control.Mode() == MMControl::kModePlaying) {
        if (timer.elapsed() > kTuneEndTimeout)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// Collects the control's warnings for one test, passing them on as usual.
QStringList g_warnings;
QtMessageHandler g_previousHandler = nullptr;

void collectWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("MMControl:")))
        g_warnings << message;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

} // namespace

class TestMMControl : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_effect;
    QString m_blip;
    QString m_shortTune;
    QString m_longTune;
    QString m_garbageTune;
    QString m_headerOnlyTune;
    QString m_garbageEffect;
    QString m_garbageSoundFont;

    QString file(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        // Run by hand, the binary would otherwise look for a real device.
        if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
            qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(m_dir.isValid());
        m_effect = file(QStringLiteral("tone.wav"));
        m_blip = file(QStringLiteral("blip.wav"));
        m_shortTune = file(QStringLiteral("short.mid"));
        m_longTune = file(QStringLiteral("long.mid"));
        m_garbageTune = file(QStringLiteral("garbage.mid"));
        m_headerOnlyTune = file(QStringLiteral("header-only.mid"));
        m_garbageEffect = file(QStringLiteral("garbage.wav"));
        m_garbageSoundFont = file(QStringLiteral("garbage.sf2"));
        QVERIFY(writeSineWav(m_effect, 200));
        QVERIFY(writeSineWav(m_blip, 40, 880.0));
        QVERIFY(writeOneNoteMidi(m_shortTune, 200));
        QVERIFY(writeOneNoteMidi(m_longTune, 8000));
        QVERIFY(writeGarbage(m_garbageTune));
        QVERIFY(writeGarbage(m_garbageEffect));
        QVERIFY(writeGarbage(m_garbageSoundFont));
        {
            // Passes a glance at its first bytes, holds no track.
            QFile headerOnly(m_headerOnlyTune);
            QVERIFY(headerOnly.open(QIODevice::WriteOnly));
            headerOnly.write(QByteArray("MThd\0\0\0\x06\0\0\0\x01\x01\xe0", 14) + QByteArray(64, '\0'));
        }

        QVERIFY2(MMControl::audioAvailable(), "SDL's dummy audio driver could not be opened");
        QVERIFY2(MMControl::midiAvailable(),
            "tunes cannot sound: SDL2_mixer has no FluidSynth back end, or no TimGM6mb.sf2 was found "
            "(Debian package timgm6mb-soundfont)");
    }

    void cleanup() { MMControl::setSoundFontPath(QString()); }

    void recordsEveryCommand()
    {
        MMControl control;
        QSignalSpy issued(&control, &MMControl::commandIssued);
        control.FileName = m_longTune;
        control.setCommand(QStringLiteral("Open"));
        control.setCommand(QStringLiteral("  PLAY "));
        control.setCommand(kStop);
        control.FileName = m_effect;
        control.setCommand(kSound);
        control.setCommand(kClose);

        const QStringList expected { kOpen + ' ' + m_longTune, kPlay + ' ' + m_longTune,
            kStop + ' ' + m_longTune, kSound + ' ' + m_effect, kClose + ' ' + m_effect };
        QCOMPARE(control.history(), expected);
        QCOMPARE(issued.count(), 5);
        QCOMPARE(issued.at(1).at(0).toString(), kPlay);
        QCOMPARE(issued.at(1).at(1).toString(), m_longTune);
        QCOMPARE(issued.at(3).at(0).toString(), kSound);
        QCOMPARE(issued.at(3).at(1).toString(), m_effect);
    }

    void historyKeepsTheLatest()
    {
        MMControl control;
        const int issued = MMControl::kHistoryLimit + 10;
        for (int i = 0; i < issued; ++i) {
            control.FileName = QString::number(i);
            control.setCommand(kStop);
        }
        QCOMPARE(control.history().size(), MMControl::kHistoryLimit);
        QCOMPARE(control.history().first(), QStringLiteral("stop 10"));
        QCOMPARE(control.history().last(), QStringLiteral("stop %1").arg(issued - 1));
        control.clearHistory();
        QVERIFY(control.history().isEmpty());
    }

    void waitedSoundReturns()
    {
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        control.Wait = true;
        control.FileName = m_effect;
        control.setCommand(kSound);
        QCOMPARE(control.history(), QStringList { kSound + ' ' + m_effect });
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
        QCoreApplication::processEvents();
        QCOMPARE(done.count(), 0);
    }

    void effectDoneFollowsNotify_data()
    {
        QTest::addColumn<bool>("notify");
        QTest::addColumn<bool>("wait");
        QTest::newRow("quiet, waited") << false << true;
        QTest::newRow("quiet, in the background") << false << false;
        QTest::newRow("notified, waited") << true << true;
        QTest::newRow("notified, in the background") << true << false;
    }

    void effectDoneFollowsNotify()
    {
        QFETCH(bool, notify);
        QFETCH(bool, wait);
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        QThread *doneThread = nullptr;
        connect(
            &control, &MMControl::Done, &control,
            [&doneThread](int) { doneThread = QThread::currentThread(); }, Qt::DirectConnection);
        control.Notify = notify;
        control.Wait = wait;
        control.FileName = m_effect;

        // A second effect of the same length, started after the first: once
        // its Done is in, the first one has certainly ended too.
        MMControl witness;
        QSignalSpy witnessDone(&witness, &MMControl::Done);
        witness.Notify = true;
        witness.FileName = m_effect;

        control.setCommand(kSound);
        witness.setCommand(kSound);
        if (notify) {
            QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 10000);
            QCOMPARE(done.at(0).at(0).toInt(), MMControl::kNotifySuccessful);
            QCOMPARE(doneThread, control.thread());
        }
        QTRY_COMPARE_WITH_TIMEOUT(witnessDone.count(), 1, 10000);
        QTest::qWait(50);
        QCOMPARE(done.count(), notify ? 1 : 0);
    }

    void channelsAreReused()
    {
        // More effects, one after the other, than the mixer has channels.
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        control.Notify = true;
        control.FileName = m_blip;
        for (int i = 1; i <= 24; ++i) {
            control.setCommand(kSound);
            QTRY_COMPARE_WITH_TIMEOUT(done.count(), i, 5000);
        }
    }

    void modeFollowsCommands_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("mode");
        const int stopped = MMControl::kModeStopped;
        const int playing = MMControl::kModePlaying;
        QTest::newRow("open") << QStringList { kOpen } << stopped;
        QTest::newRow("play") << QStringList { kOpen, kPlay } << playing;
        QTest::newRow("play twice") << QStringList { kOpen, kPlay, kPlay } << playing;
        QTest::newRow("stop") << QStringList { kOpen, kPlay, kStop } << stopped;
        QTest::newRow("stop twice") << QStringList { kOpen, kPlay, kStop, kStop } << stopped;
        QTest::newRow("play again") << QStringList { kOpen, kPlay, kStop, kPlay } << playing;
        QTest::newRow("prev while playing") << QStringList { kOpen, kPlay, kPrev } << playing;
        QTest::newRow("prev while stopped") << QStringList { kOpen, kPlay, kStop, kPrev } << stopped;
        QTest::newRow("prev, play") << QStringList { kOpen, kPlay, kStop, kPrev, kPlay } << playing;
        QTest::newRow("prev before play") << QStringList { kOpen, kPrev, kPlay } << playing;
        QTest::newRow("close") << QStringList { kOpen, kPlay, kClose } << stopped;
        QTest::newRow("play after close") << QStringList { kOpen, kPlay, kClose, kPlay } << stopped;
        QTest::newRow("reopen") << QStringList { kOpen, kPlay, kClose, kOpen, kPlay } << playing;
        QTest::newRow("open while playing") << QStringList { kOpen, kPlay, kOpen } << stopped;
    }

    void modeFollowsCommands()
    {
        QFETCH(QStringList, commands);
        QFETCH(int, mode);
        MMControl control;
        control.DeviceType = QStringLiteral("Sequencer");
        control.FileName = m_longTune;
        for (const QString &command : std::as_const(commands))
            control.setCommand(command);
        QCOMPARE(control.Mode(), mode);
        control.setCommand(kClose);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
    }

    void effectSoundsOverATune()
    {
        MMControl control;
        control.FileName = m_longTune;
        control.setCommand(kOpen);
        control.setCommand(kPlay);
        control.FileName = m_effect;
        control.Wait = true;
        control.setCommand(kSound);
        QCOMPARE(control.Mode(), MMControl::kModePlaying);
        control.setCommand(kClose);
    }

    void failuresLeaveItStopped_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("missing tune")
            << file(QStringLiteral("missing.mid")) << QStringList { kOpen, kPlay, kPrev };
        QTest::newRow("garbage tune") << m_garbageTune << QStringList { kOpen, kPlay, kPrev, kPlay };
        QTest::newRow("tune without a track") << m_headerOnlyTune << QStringList { kOpen, kPlay };
        QTest::newRow("tune is a folder") << m_dir.path() << QStringList { kOpen, kPlay };
        QTest::newRow("no file name") << QString() << QStringList { kOpen, kPlay, kSound };
        QTest::newRow("missing effect") << file(QStringLiteral("missing.wav")) << QStringList { kSound };
        QTest::newRow("garbage effect") << m_garbageEffect << QStringList { kSound, kSound };
        QTest::newRow("play without open") << m_longTune << QStringList { kPlay };
        QTest::newRow("prev with nothing open") << m_longTune << QStringList { kPrev, kPlay };
        QTest::newRow("stop with nothing open") << m_longTune << QStringList { kStop };
        QTest::newRow("close twice") << m_longTune << QStringList { kOpen, kPlay, kClose, kClose, kPlay };
        QTest::newRow("unknown commands")
            << m_longTune
            << QStringList { QStringLiteral("rewind"), QString(), kOpen, QStringLiteral("eject") };
    }

    void failuresLeaveItStopped()
    {
        QFETCH(QString, fileName);
        QFETCH(QStringList, commands);
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        // A failure must not pass for a finished command either.
        control.Notify = true;
        control.Wait = true;
        control.FileName = fileName;
        for (const QString &command : std::as_const(commands))
            control.setCommand(command);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
        QCOMPARE(control.history().size(), commands.size());
        QTest::qWait(100);
        QCOMPARE(done.count(), 0);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
    }

    void warnsOncePerKind()
    {
        g_warnings.clear();
        g_previousHandler = qInstallMessageHandler(collectWarnings);
        MMControl control;
        control.FileName = file(QStringLiteral("nowhere.wav"));
        for (int i = 0; i < 3; ++i) {
            control.setCommand(kPlay);
            control.setCommand(QStringLiteral("frobnicate"));
            control.setCommand(kSound);
        }
        qInstallMessageHandler(g_previousHandler);
        g_previousHandler = nullptr;
        for (const QString &warning : std::as_const(g_warnings))
            QVERIFY2(g_warnings.count(warning) == 1, qPrintable(warning));
        QVERIFY(g_warnings.size() <= 3);
    }

    void notifiedTuneReportsItsEnd()
    {
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        QThread *doneThread = nullptr;
        int modeAtDone = 0;
        connect(
            &control, &MMControl::Done, &control,
            [&](int) {
                doneThread = QThread::currentThread();
                modeAtDone = control.Mode();
            },
            Qt::DirectConnection);
        control.Notify = true;
        control.DeviceType = QStringLiteral("Sequencer");
        control.FileName = m_shortTune;
        control.setCommand(kOpen);
        control.setCommand(kPlay);
        QCOMPARE(control.Mode(), MMControl::kModePlaying);

        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kTuneEndTimeout);
        QCOMPARE(done.at(0).at(0).toInt(), MMControl::kNotifySuccessful);
        QCOMPARE(doneThread, control.thread());
        QCOMPARE(modeAtDone, MMControl::kModeStopped);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
    }

    void notifyIsTakenWhenPlayStarts_data()
    {
        QTest::addColumn<bool>("notifyAtPlay");
        QTest::newRow("notify, then cleared") << true;
        QTest::newRow("quiet, then set") << false;
    }

    void notifyIsTakenWhenPlayStarts()
    {
        QFETCH(bool, notifyAtPlay);
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        control.Notify = notifyAtPlay;
        control.FileName = m_shortTune;
        control.setCommand(kOpen);
        control.setCommand(kPlay);
        control.Notify = !notifyAtPlay;
        QVERIFY(waitForEndWithoutEvents(control));
        QTest::qWait(50);
        QCOMPARE(done.count(), notifyAtPlay ? 1 : 0);
    }

    void doneLoopsTheTune()
    {
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        loopTuneOnDone(control);
        QList<int> modeAfterLoop;
        connect(&control, &MMControl::Done, &control, [&](int) { modeAfterLoop << control.Mode(); });
        control.Notify = true;
        control.FileName = m_shortTune;
        control.setCommand(kOpen);
        control.setCommand(kPlay);

        QTRY_VERIFY_WITH_TIMEOUT(done.count() >= 2, 2 * kTuneEndTimeout);
        QCOMPARE(modeAfterLoop.at(0), MMControl::kModePlaying);
        QCOMPARE(modeAfterLoop.at(1), MMControl::kModePlaying);
        const QString f = QLatin1Char(' ') + m_shortTune;
        QCOMPARE(control.history().mid(0, 6),
            QStringList({ kOpen + f, kPlay + f, kPrev + f, kPlay + f, kPrev + f, kPlay + f }));

        // The player stops the music: the loop must leave it stopped.
        control.setCommand(kStop);
        const int doneBefore = done.count();
        const qsizetype historyBefore = control.history().size();
        // Longer than a round of the tune: a restart would have been issued
        // at once, a stop that did not stop would have ended by now.
        QTest::qWait(4000);
        QCOMPARE(done.count(), doneBefore);
        QCOMPARE(control.history().size(), historyBefore);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
    }

    void stopRightAfterTheEndWins()
    {
        // The tune ends on the audio thread and its report is on its way when
        // the player presses stop: the stop is the last word.
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        loopTuneOnDone(control);
        control.Notify = true;
        control.FileName = m_shortTune;
        control.setCommand(kOpen);
        control.setCommand(kPlay);
        QVERIFY(waitForEndWithoutEvents(control));
        control.setCommand(kStop);
        QTest::qWait(300);
        QCOMPARE(done.count(), 0);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
        QCOMPARE(control.history().last(), kStop + ' ' + m_shortTune);
    }

    void replacedTuneReportsNothing_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("closed") << QStringList { kClose };
        QTest::newRow("reopened") << QStringList { kOpen };
        QTest::newRow("stopped and rewound") << QStringList { kStop, kPrev };
    }

    void replacedTuneReportsNothing()
    {
        QFETCH(QStringList, commands);
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        control.Notify = true;
        control.FileName = m_shortTune;
        control.setCommand(kOpen);
        control.setCommand(kPlay);
        for (const QString &command : std::as_const(commands))
            control.setCommand(command);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
        // Halting a tune fires the mixer's finished hook at once; a report
        // it let through would be delivered by now.
        QTest::qWait(500);
        QCOMPARE(done.count(), 0);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
    }

    void secondControlTakesTheMixer()
    {
        MMControl first;
        MMControl second;
        QSignalSpy firstDone(&first, &MMControl::Done);
        QSignalSpy secondDone(&second, &MMControl::Done);
        first.Notify = true;
        second.Notify = true;
        first.FileName = m_longTune;
        second.FileName = m_shortTune;
        first.setCommand(kOpen);
        first.setCommand(kPlay);
        second.setCommand(kOpen);
        second.setCommand(kPlay);
        QCOMPARE(first.Mode(), MMControl::kModeStopped);
        QCOMPARE(second.Mode(), MMControl::kModePlaying);
        QTRY_COMPARE_WITH_TIMEOUT(secondDone.count(), 1, kTuneEndTimeout);
        QCOMPARE(firstDone.count(), 0);

        // The first one gets the mixer back when it plays again.
        first.setCommand(kPlay);
        QCOMPARE(first.Mode(), MMControl::kModePlaying);
        first.setCommand(kClose);
    }

    void destroyedWithItsEndOnTheWay()
    {
        auto *control = new MMControl;
        control->Notify = true;
        control->FileName = m_shortTune;
        control->setCommand(kOpen);
        control->setCommand(kPlay);
        QVERIFY(waitForEndWithoutEvents(*control));
        delete control;
        QTest::qWait(100);

        auto *playing = new MMControl;
        playing->Notify = true;
        playing->FileName = m_longTune;
        playing->setCommand(kOpen);
        playing->setCommand(kPlay);
        playing->FileName = m_effect;
        playing->setCommand(kSound);
        delete playing;
        QTest::qWait(100);

        // The mixer is still fit for the next control.
        MMControl next;
        QSignalSpy done(&next, &MMControl::Done);
        next.Notify = true;
        next.FileName = m_shortTune;
        next.setCommand(kOpen);
        next.setCommand(kPlay);
        QCOMPARE(next.Mode(), MMControl::kModePlaying);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kTuneEndTimeout);
    }

    void soundFontSearch()
    {
        const QString system = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        const QString besideProgram = folder.file(QStringLiteral("bkmusic/TimGM6mb.sf2"));
        QCOMPARE(MMControl::soundFontCandidates(), QStringList({ besideProgram, system }));
        QCOMPARE(MMControl::resolvedSoundFont(), system);

        // The program's own copy comes before the system's.
        QVERIFY(QDir().mkpath(folder.file(QStringLiteral("bkmusic"))));
        QVERIFY(QFile::link(system, besideProgram));
        QCOMPARE(MMControl::resolvedSoundFont(), besideProgram);

        // A preferred one comes first, but only if it is a soundfont.
        MMControl::setSoundFontPath(m_garbageSoundFont);
        QCOMPARE(MMControl::soundFontPath(), m_garbageSoundFont);
        QCOMPARE(
            MMControl::soundFontCandidates(), QStringList({ m_garbageSoundFont, besideProgram, system }));
        QCOMPARE(MMControl::resolvedSoundFont(), besideProgram);

        MMControl::setSoundFontPath(file(QStringLiteral("missing.sf2")));
        QCOMPARE(MMControl::resolvedSoundFont(), besideProgram);

        const QString mine = file(QStringLiteral("mine.sf2"));
        QVERIFY(QFile::link(system, mine));
        MMControl::setSoundFontPath(mine);
        QCOMPARE(MMControl::resolvedSoundFont(), mine);
    }

    void unusableSoundFontFallsBack()
    {
        MMControl::setSoundFontPath(m_garbageSoundFont);
        MMControl control;
        control.FileName = m_longTune;
        control.setCommand(kOpen);
        control.setCommand(kPlay);
        QCOMPARE(control.Mode(), MMControl::kModePlaying);
        control.setCommand(kClose);
    }
};

QTEST_GUILESS_MAIN(TestMMControl)
#include "tst_mmcontrol.moc"
