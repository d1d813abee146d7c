#include "AppPath.h"
#include "EffectQueue.h"
#include "MMControl.h"
#include "MediaFixtures.h"
#include "ProgramFolder.h"
#include "SoundFont.h"
#include "TuneRenderer.h"
#include "TuneRendering.h"

#include <QDir>
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

// Rendering, the device's large buffer and the last notes' release.
constexpr int kTuneEndTimeout = 12000;

} // namespace

class TestMMControl : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_data;
    QString m_effect;
    QString m_longEffect;
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
        QVERIFY(m_dir.isValid() && m_data.isValid());
        TuneRenderer::setProgram(ProgramFolder::buildFolder() + QStringLiteral("/vexa-tune-render"));
        m_effect = file(QStringLiteral("tone.wav"));
        m_longEffect = file(QStringLiteral("long-tone.wav"));
        m_blip = file(QStringLiteral("blip.wav"));
        m_shortTune = file(QStringLiteral("short.mid"));
        m_longTune = file(QStringLiteral("long.mid"));
        m_garbageTune = file(QStringLiteral("garbage.mid"));
        m_headerOnlyTune = file(QStringLiteral("header-only.mid"));
        m_garbageEffect = file(QStringLiteral("garbage.wav"));
        m_garbageSoundFont = file(QStringLiteral("garbage.sf2"));
        QVERIFY(writeSineWav(m_effect, 200));
        QVERIFY(writeSineWav(m_longEffect, 1500));
        QVERIFY(writeSineWav(m_blip, 40, 880.0));
        QVERIFY(writeOneNoteMidi(m_shortTune, 300));
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
            "tunes cannot sound: no FluidSynth, or no TimGM6mb.sf2 was found (Debian package "
            "timgm6mb-soundfont)");
    }

    void init()
    {
        AppPath::setFolder(m_data.path());
        AppPath::setCacheFolder(m_data.filePath(QStringLiteral("cache")));
    }

    void cleanup()
    {
        SoundFont::setPreferred(QString());
        AppPath::reset();
    }

    void soundQueuesAndReturnsAtOnce()
    {
        // Two controls, so that each Done tells whose effect ended; the
        // shorter one, queued second, ends second.
        MMControl first;
        MMControl second;
        QStringList ended;
        connect(&first, &MMControl::Done, this, [&](int code) {
            QCOMPARE(code, MMControl::kNotifySuccessful);
            ended << QStringLiteral("first");
        });
        connect(&second, &MMControl::Done, this, [&] { ended << QStringLiteral("second"); });
        QThread *doneThread = nullptr;
        connect(
            &first, &MMControl::Done, &first, [&doneThread] { doneThread = QThread::currentThread(); },
            Qt::DirectConnection);
        first.Notify = second.Notify = true;
        first.Wait = second.Wait = true;
        first.FileName = m_longEffect;
        second.FileName = m_blip;
        first.setCommand(kSound);
        second.setCommand(kSound);
        // Neither waited for its effect: the first one alone lasts 1.5 s.
        QCOMPARE(EffectQueue::instance().pending(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 2, 8000);
        QCOMPARE(ended, (QStringList { QStringLiteral("first"), QStringLiteral("second") }));
        QCOMPARE(doneThread, thread());
        QCOMPARE(first.Mode(), MMControl::kModeStopped);
    }

    void quietEffectsRaiseNoDone()
    {
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        MMControl witness;
        QSignalSpy witnessDone(&witness, &MMControl::Done);
        witness.Notify = true;
        control.FileName = witness.FileName = m_effect;
        control.setCommand(kSound);
        // Queued after it: once its Done is in, the first one has ended.
        witness.setCommand(kSound);
        QTRY_COMPARE_WITH_TIMEOUT(witnessDone.count(), 1, 5000);
        QCOMPARE(done.count(), 0);
    }

    void manyEffectsInARowAllSound()
    {
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        control.Notify = true;
        control.FileName = m_blip;
        for (int i = 0; i < 24; ++i)
            control.setCommand(kSound);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 24, 10000);
    }

    void devicesCloseWhenNothingSounds()
    {
        MMControl control;
        control.FileName = m_blip;
        control.setCommand(kSound);
        QTRY_COMPARE_WITH_TIMEOUT(openDevices(), 1, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(openDevices(), 0, EffectQueue::kIdleMsecs + 3000);

        control.FileName = m_longTune;
        control.setCommand(kOpen);
        control.setCommand(kPlay);
        QTRY_COMPARE_WITH_TIMEOUT(openDevices(), 1, 5000);
        control.setCommand(kStop);
        QTRY_COMPARE_WITH_TIMEOUT(openDevices(), 0, 5000);
        // Stopped keeps its place: the device comes back with the tune.
        control.setCommand(kPlay);
        QTRY_COMPARE_WITH_TIMEOUT(openDevices(), 1, 5000);
        control.setCommand(kClose);
        QTRY_COMPARE_WITH_TIMEOUT(openDevices(), 0, 5000);
    }

    void effectSoundsOverTheTune()
    {
        // Whether the driver gives each its own device or one to share.
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        control.FileName = m_longTune;
        control.setCommand(kOpen);
        control.setCommand(kPlay);
        QTRY_VERIFY_WITH_TIMEOUT(openDevices() >= 1, 5000);
        control.Notify = true;
        control.FileName = m_blip;
        control.setCommand(kSound);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 5000);
        QCOMPARE(control.Mode(), MMControl::kModePlaying);
        control.setCommand(kClose);
    }

    void heldKeyBuildsNoBacklog()
    {
        // A key held down asks for the same pair of effects many times a
        // second, each far longer than the time between two: what sounds
        // keeps up with the key, not with the number of presses.
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        control.Notify = true;
        QElapsedTimer held;
        held.start();
        int presses = 0;
        while (held.elapsed() < 1000) {
            control.FileName = m_effect;
            control.setCommand(kSound);
            control.FileName = m_longEffect;
            control.setCommand(kSound);
            ++presses;
            QTest::qWait(40);
        }
        QVERIFY(presses > 10);
        // Let go: the pair now sounding ends, and nothing more is waiting
        // than one more pair.
        QTRY_COMPARE_WITH_TIMEOUT(EffectQueue::instance().pending(), 0, 2 * (200 + 1500) + 2000);
        QVERIFY(done.count() > 0);
    }

    void exitWaitsOnlyForTheEffectNowSounding()
    {
        // Twelve long effects in a row, as from one event: the exit lets the
        // first end and drops the others.
        MMControl control;
        control.FileName = m_longEffect;
        for (int i = 0; i < 12; ++i)
            control.setCommand(kSound);
        QTRY_VERIFY_WITH_TIMEOUT(openDevices() >= 1, 5000);
        // Done before the deadline; twelve effects would take 18 s.
        QVERIFY(MMControl::shutdown(QDeadlineTimer(MMControl::kExitWaitMsecs)));
        QCOMPARE(EffectQueue::instance().pending(), 0);
        QCOMPARE(openDevices(), 0);
        // The next command starts the sound again.
        QSignalSpy done(&control, &MMControl::Done);
        control.Notify = true;
        control.FileName = m_blip;
        control.setCommand(kSound);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 5000);
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
        QTest::newRow("play again") << QStringList { kOpen, kPlay, kStop, kPlay } << playing;
        QTest::newRow("prev while playing") << QStringList { kOpen, kPlay, kPrev } << playing;
        QTest::newRow("prev while stopped") << QStringList { kOpen, kPlay, kStop, kPrev } << stopped;
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

    void failuresLeaveItStopped_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("missing tune")
            << file(QStringLiteral("missing.mid")) << QStringList { kOpen, kPlay, kPrev };
        QTest::newRow("garbage tune") << m_garbageTune << QStringList { kOpen, kPlay, kPrev, kPlay };
        QTest::newRow("tune without a track") << m_headerOnlyTune << QStringList { kOpen, kPlay };
        // A sequencer plays MIDI, not what an effect left in FileName.
        QTest::newRow("wave file as a tune") << m_effect << QStringList { kOpen, kPlay };
        QTest::newRow("tune is a folder") << m_dir.path() << QStringList { kOpen, kPlay };
        QTest::newRow("no file name") << QString() << QStringList { kOpen, kPlay, kSound };
        QTest::newRow("missing effect") << file(QStringLiteral("missing.wav")) << QStringList { kSound };
        QTest::newRow("garbage effect") << m_garbageEffect << QStringList { kSound, kSound };
        QTest::newRow("effect is a folder") << m_dir.path() << QStringList { kSound };
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
        QSignalSpy issued(&control, &MMControl::commandIssued);
        // A failure must not pass for a finished command either.
        control.Notify = true;
        control.DeviceType = QStringLiteral("Sequencer");
        control.FileName = fileName;
        for (const QString &command : std::as_const(commands))
            control.setCommand(command);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
        QCOMPARE(issued.count(), commands.size());
        QTest::qWait(200);
        QCOMPARE(done.count(), 0);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
        QTRY_COMPARE_WITH_TIMEOUT(EffectQueue::instance().pending(), 0, 2000);
    }

    void warnsOncePerKind()
    {
        SoundWarnings warnings;
        MMControl control;
        control.FileName = file(QStringLiteral("nowhere.wav"));
        for (int i = 0; i < 3; ++i) {
            control.setCommand(kPlay);
            control.setCommand(QStringLiteral("frobnicate"));
            control.setCommand(kSound);
        }
        QTRY_COMPARE_WITH_TIMEOUT(EffectQueue::instance().pending(), 0, 2000);
        const QStringList said = warnings.said();
        for (const QString &warning : said)
            QVERIFY2(said.count(warning) == 1, qPrintable(warning));
        QVERIFY(said.size() <= 3);
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
        QTRY_COMPARE_WITH_TIMEOUT(control.Mode(), MMControl::kModeStopped, kTuneEndTimeout);
        QTest::qWait(50);
        QCOMPARE(done.count(), notifyAtPlay ? 1 : 0);
    }

    void doneLoopsTheTune()
    {
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        QStringList issued;
        connect(
            &control, &MMControl::commandIssued, this, [&](const QString &command) { issued << command; });
        loopOnDone(control);
        QList<int> modeAfterLoop;
        connect(&control, &MMControl::Done, &control, [&](int) { modeAfterLoop << control.Mode(); });
        openAndPlay(control, m_shortTune);

        QTRY_VERIFY_WITH_TIMEOUT(done.count() >= 2, 2 * kTuneEndTimeout);
        QCOMPARE(modeAfterLoop.at(0), MMControl::kModePlaying);
        QCOMPARE(modeAfterLoop.at(1), MMControl::kModePlaying);
        QCOMPARE(issued.mid(0, 6), QStringList({ kOpen, kPlay, kPrev, kPlay, kPrev, kPlay }));

        // The player stops the music: the loop must leave it stopped.
        control.setCommand(kStop);
        const int doneBefore = done.count();
        const qsizetype issuedBefore = issued.size();
        // Longer than a round of the tune: a restart would have been issued
        // at once, a stop that did not stop would have ended by now.
        QTest::qWait(2500);
        QCOMPARE(done.count(), doneBefore);
        QCOMPARE(issued.size(), issuedBefore);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
    }

    void stoppedRightAtTheEndStaysStopped()
    {
        // The tune ends on the audio thread and its report is on its way
        // when the player presses stop: the stop is the last word.
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        loopOnDone(control);
        openAndPlay(control, m_shortTune);
        // The rendering of the tune is whole: its length, and the device's
        // buffer, are over within a second and a half without events.
        QTRY_VERIFY_WITH_TIMEOUT(TuneRendering::of(m_shortTune)->isFinished(), kTuneEndTimeout);
        QThread::msleep(1500);
        control.setCommand(kStop);
        QTest::qWait(500);
        QCOMPARE(done.count(), 0);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
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
        openAndPlay(control, m_shortTune);
        for (const QString &command : std::as_const(commands))
            control.setCommand(command);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
        QTest::qWait(1500);
        QCOMPARE(done.count(), 0);
        QCOMPARE(control.Mode(), MMControl::kModeStopped);
    }

    void secondControlTakesTheTune()
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

        // The first one gets it back when it plays again.
        first.setCommand(kPlay);
        QCOMPARE(first.Mode(), MMControl::kModePlaying);
        first.setCommand(kClose);
    }

    void effectOutlivesItsControl()
    {
        auto *control = new MMControl;
        control->FileName = m_longEffect;
        control->setCommand(kSound);
        delete control;
        QCOMPARE(EffectQueue::instance().pending(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(EffectQueue::instance().pending(), 0, 8000);

        // A control gone with its tune's end on the way reports nothing,
        // and the next control plays as usual.
        auto *playing = new MMControl;
        openAndPlay(*playing, m_shortTune);
        delete playing;
        MMControl next;
        QSignalSpy done(&next, &MMControl::Done);
        openAndPlay(next, m_shortTune);
        QCOMPARE(next.Mode(), MMControl::kModePlaying);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, kTuneEndTimeout);
    }

    void tunesAreRenderedOnceIntoTheCache()
    {
        const QString tune = file(QStringLiteral("cached.mid"));
        QVERIFY(writeOneNoteMidi(tune, 400, 40));
        auto first = TuneRendering::of(tune);
        QVERIFY(first);
        first->start();
        QTRY_VERIFY_WITH_TIMEOUT(first->isFinished(), kTuneEndTimeout);
        const QDir cache(AppPath::cacheFolder());
        const QStringList kept = cache.entryList({ QStringLiteral("cached-*") }, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(first->cacheFile(), cache.filePath(kept.first()));
        const qint64 frames = first->framesReady();

        // Asked again later, it is read from the cache.
        first.reset();
        const auto again = TuneRendering::of(tune);
        QVERIFY(again && !again->isFinished());
        again->start();
        QTRY_VERIFY_WITH_TIMEOUT(again->isFinished(), 5000);
        QCOMPARE(again->cacheFile(), cache.filePath(kept.first()));
        QCOMPARE(again->framesReady(), frames);

        // A changed tune is rendered anew and takes the old one's place.
        QVERIFY(writeOneNoteMidi(tune, 900, 40));
        const auto changed = TuneRendering::of(tune);
        QVERIFY(changed && changed != again);
        changed->start();
        QTRY_VERIFY_WITH_TIMEOUT(changed->isFinished(), kTuneEndTimeout);
        QVERIFY(changed->framesReady() > frames);
        QCOMPARE(cache.entryList({ QStringLiteral("cached-*") }, QDir::Files),
            QStringList { QFileInfo(changed->cacheFile()).fileName() });
    }

    void soundFontSearch()
    {
        const QString system = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        const QString besideProgram = folder.file(QStringLiteral("bkmusic/TimGM6mb.sf2"));
        QCOMPARE(SoundFont::candidates(), QStringList({ besideProgram, system }));
        QCOMPARE(SoundFont::resolved(), system);

        // The program's own copy comes before the system's.
        QVERIFY(QDir().mkpath(folder.file(QStringLiteral("bkmusic"))));
        QVERIFY(QFile::link(system, besideProgram));
        QCOMPARE(SoundFont::resolved(), besideProgram);

        // A preferred one comes first, but only if it is a soundfont.
        SoundFont::setPreferred(m_garbageSoundFont);
        QCOMPARE(SoundFont::candidates(), QStringList({ m_garbageSoundFont, besideProgram, system }));
        QCOMPARE(SoundFont::resolved(), besideProgram);
        SoundFont::setPreferred(file(QStringLiteral("missing.sf2")));
        QCOMPARE(SoundFont::resolved(), besideProgram);
        const QString mine = file(QStringLiteral("mine.sf2"));
        QVERIFY(QFile::link(system, mine));
        SoundFont::setPreferred(mine);
        QCOMPARE(SoundFont::resolved(), mine);
    }
};

QTEST_GUILESS_MAIN(TestMMControl)
#include "tst_mmcontrol.moc"
