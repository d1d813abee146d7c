#include "AppPath.h"
#include "MMControl.h"
#include "MediaFixtures.h"
#include "ProgramFolder.h"
#include "PulseServer.h"
#include "TuneRenderer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <optional>

using namespace MediaFixtures;

// The sound as a player's desktop plays it: SDL's PulseAudio driver
// against a PulseAudio server of the test's own, whose null sink is
// recorded. There the effects and the tune each get a device, a stream of
// their own. SDL starts its audio once per process, hence a binary of its
// own.
class TestMMControlPulse : public QObject
{
    Q_OBJECT

    static constexpr double kPeak = 0.5;
    // A quarter of the written peak: well above the leak of any other tone
    // (toneLevels), and crossed as much after a tone's start as before its
    // end, so that lengths come out right.
    static constexpr double kHeard = kPeak * 32767 / 4;
    static constexpr int kLowMsecs = 380;
    static constexpr int kHighMsecs = 800;
    static constexpr double kLow = 440.0;
    static constexpr double kHigh = 880.0;
    // A tune of one high note, so that no overtone of it lies near the
    // effect's pitch.
    static constexpr int kTuneMsecs = 1500;
    static constexpr int kTuneNote = 79;
    static constexpr double kTunePitch = 783.99;
    // The note's attack, well above silence; how loud the synthesizer
    // plays it is the soundfont's business.
    static constexpr double kTuneHeard = 300;
    // Between two rounds of a tune, at most a short pause.
    static constexpr int kLongestPauseMsecs = 1500;

    std::unique_ptr<PulseServer> m_server;
    QTemporaryDir m_dir;
    QString m_low;
    QString m_high;
    QString m_tune;

    // The recording from the given point on.
    QByteArray since(qint64 fromMsecs) const
    {
        const qint64 frame = fromMsecs * PulseServer::kRate / 1000;
        return m_server->recorded().mid(frame * PulseServer::kFrameBytes);
    }

    // Where an effect of the given pitch sounds in the recording from the
    // given point on.
    QList<Interval> effects(qint64 fromMsecs, double frequency) const
    {
        return toneIntervals(since(fromMsecs), frequency, kHeard);
    }

    // The longest silence between the first sound and the last.
    static qint64 longestPause(QList<Interval> sounds)
    {
        std::sort(sounds.begin(), sounds.end(),
            [](const Interval &a, const Interval &b) { return a.startMsecs < b.startMsecs; });
        qint64 longest = 0;
        for (qsizetype i = 1; i < sounds.size(); ++i)
            longest = qMax(longest, sounds[i].startMsecs - sounds[i - 1].endMsecs);
        return longest;
    }

    // Whether the frequency has sounded and the recording has gone on for
    // a while since, so that a tone cut short would show as cut.
    bool heardAndOver(qint64 fromMsecs, double frequency) const
    {
        const QList<Interval> heard = effects(fromMsecs, frequency);
        return !heard.isEmpty() && m_server->recordedMsecs() - fromMsecs > heard.last().endMsecs + 200;
    }

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<PulseServer>();
        if (!m_server->isRunning())
            QSKIP(qPrintable(m_server->whyNot()));
        QVERIFY(m_dir.isValid());
        m_low = m_dir.filePath(QStringLiteral("low.wav"));
        m_high = m_dir.filePath(QStringLiteral("high.wav"));
        m_tune = m_dir.filePath(QStringLiteral("tune.mid"));
        QVERIFY(writeSineWav(m_low, kLowMsecs, kLow, kPeak));
        QVERIFY(writeSineWav(m_high, kHighMsecs, kHigh, kPeak));
        QVERIFY(writeOneNoteMidi(m_tune, kTuneMsecs, 0, kTuneNote));
        AppPath::setFolder(m_dir.path());
        AppPath::setCacheFolder(m_dir.filePath(QStringLiteral("cache")));
        TuneRenderer::setProgram(ProgramFolder::buildFolder() + QStringLiteral("/vexa-tune-render"));
        QVERIFY(m_server->startRecording());
        QVERIFY2(MMControl::audioAvailable(), "SDL's PulseAudio driver does not reach the server");
    }

    void cleanupTestCase()
    {
        // The devices close while the server still answers.
        m_server->thaw();
        MMControl::shutdown(QDeadlineTimer(MMControl::kExitWaitMsecs));
        m_server.reset();
    }

    void effectsSoundWholeOneAfterTheOther()
    {
        const qint64 from = m_server->recordedMsecs();
        {
            // Queued in one go, as a click and the next one, and the control
            // gone at once.
            MMControl control;
            control.Notify = false;
            control.FileName = m_low;
            control.setCommand(QStringLiteral("sound"));
            control.FileName = m_high;
            control.setCommand(QStringLiteral("sound"));
        }
        QTRY_VERIFY_WITH_TIMEOUT(heardAndOver(from, kHigh), 10000);

        const QList<Interval> low = effects(from, kLow);
        const QList<Interval> high = effects(from, kHigh);
        const QByteArray what
            = QStringLiteral("low at %1; high at %2").arg(describe(low), describe(high)).toUtf8();
        QVERIFY2(!low.isEmpty() && !high.isEmpty(), what.constData());
        // Whole: nothing lost, within a window's worth at either end.
        QVERIFY2(qAbs(totalMsecs(low) - kLowMsecs) <= 30, what.constData());
        QVERIFY2(qAbs(totalMsecs(high) - kHighMsecs) <= 30, what.constData());
        // In order and not over each other (a window where both meet may
        // hold half of each).
        QVERIFY2(high.first().startMsecs >= low.last().endMsecs - kLevelMsecs, what.constData());
        // From the first to the last, no pause a player would notice. A
        // loaded machine may keep the effects' stream from being fed for a
        // moment, and the effect goes on where it stopped: seen as pauses
        // of 10 to 40 ms within an effect.
        QVERIFY2(longestPause(low + high) < 100, what.constData());
    }

    void tuneAndEffectSoundOnStreamsOfTheirOwn()
    {
        QVERIFY2(MMControl::midiAvailable(),
            "tunes cannot sound: no renderer, or no TimGM6mb.sf2 was found (Debian package "
            "timgm6mb-soundfont)");
        // The effects' device closes once they have been quiet for a while;
        // none may be left over, so that two streams below are the tune's
        // and the effect's.
        QTRY_COMPARE_WITH_TIMEOUT(m_server->sinkInputs(), 0, 10000);

        MMControl music;
        qint64 firstDone = -1;
        connect(&music, &MMControl::Done, this, [&firstDone](int) {
            if (firstDone < 0)
                firstDone = PulseServer::clockMsecs();
        });
        // The game's loop.
        loopOnDone(music);
        music.Notify = true;
        music.DeviceType = QStringLiteral("Sequencer");
        music.FileName = m_tune;
        music.setCommand(QStringLiteral("open"));
        const qint64 from = m_server->recordedMsecs();
        music.setCommand(QStringLiteral("play"));
        QTRY_VERIFY_WITH_TIMEOUT(!toneIntervals(since(from), kTunePitch, kTuneHeard).isEmpty(), 10000);
        QCOMPARE(m_server->sinkInputs(), 1);

        {
            MMControl control;
            control.Notify = false;
            control.FileName = m_low;
            control.setCommand(QStringLiteral("sound"));
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_server->sinkInputs(), 2, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(heardAndOver(from, kLow), 5000);
        const QList<Interval> first = effects(from, kLow);
        QVERIFY2(qAbs(totalMsecs(first) - kLowMsecs) <= 30 && longestPause(first) < 100,
            qPrintable(describe(first)));

        // The next click, while the effects' device is still open, is heard
        // at once on its small buffer (23 ms), not behind the tune's large
        // one (370 ms). The recording reads such a delay up to 21 ms short,
        // and a machine busy with other tests may hold the effect's worker
        // back for a moment: seen up to 220 ms at a load of nine.
        const qint64 clicked = PulseServer::clockMsecs();
        {
            MMControl control;
            control.Notify = false;
            control.FileName = m_low;
            control.setCommand(QStringLiteral("sound"));
        }
        const qint64 clickedAt = m_server->recordingMsecsAt(clicked) - from;
        // Whatever of that pitch sounds after the first effect.
        const auto second = [&]() -> std::optional<Interval> {
            for (const Interval &effect : effects(from, kLow)) {
                if (effect.startMsecs > first.last().endMsecs)
                    return effect;
            }
            return std::nullopt;
        };
        QTRY_VERIFY_WITH_TIMEOUT(second().has_value(), 5000);
        QVERIFY2(second()->startMsecs - clickedAt < 250,
            qPrintable(QStringLiteral("effects at %1, clicked at %2 ms")
                           .arg(describe(effects(from, kLow)))
                           .arg(clickedAt)));

        // Played to its end, the tune starts again from the game's Done
        // handler: its note is heard anew after that.
        QTRY_VERIFY_WITH_TIMEOUT(firstDone >= 0, 15000);
        // A sound made after that instant shows no earlier than this in
        // the recording, given its clock and the windows.
        const qint64 afterEnd = m_server->recordingMsecsAt(firstDone) - from - 21 - kLevelMsecs;
        const auto heardAgain = [&] {
            const QList<Interval> rounds = toneIntervals(since(from), kTunePitch, kTuneHeard);
            return std::any_of(rounds.cbegin(), rounds.cend(),
                [afterEnd](const Interval &round) { return round.startMsecs >= afterEnd; });
        };
        QTRY_VERIFY2_WITH_TIMEOUT(heardAgain(),
            qPrintable(QStringLiteral("tune at %1, a new round due from %2 ms")
                           .arg(describe(toneIntervals(since(from), kTunePitch, kTuneHeard)))
                           .arg(afterEnd)),
            10000);
        // As a sequencer plays it: the next round follows the last one's
        // release, not seconds of silence that the synthesiser made after it.
        const QList<Interval> rounds = toneIntervals(since(from), kTunePitch, kTuneHeard);
        const auto next = std::find_if(rounds.cbegin(), rounds.cend(),
            [afterEnd](const Interval &round) { return round.startMsecs >= afterEnd; });
        QVERIFY(next != rounds.cbegin() && next != rounds.cend());
        QVERIFY2(next->startMsecs - std::prev(next)->endMsecs < kLongestPauseMsecs,
            qPrintable(QStringLiteral("tune at %1").arg(describe(rounds))));
        QCOMPARE(music.Mode(), MMControl::kModePlaying);
        music.setCommand(QStringLiteral("close"));
    }

    void stalledServerCannotHoldTheExit()
    {
        // A tune and an effect sound when the server stops answering: the
        // exit gives up on them at its deadline instead of waiting on.
        MMControl control;
        openAndPlay(control, m_tune);
        control.FileName = m_high;
        control.setCommand(QStringLiteral("sound"));
        QTRY_COMPARE_WITH_TIMEOUT(m_server->sinkInputs(), 2, 10000);
        QVERIFY(m_server->freeze());
        QElapsedTimer exit;
        exit.start();
        MMControl::shutdown(QDeadlineTimer(2000));
        // The deadline, and what the machine takes besides; without one
        // this waits until the server answers again.
        QVERIFY2(exit.elapsed() < 6000, qPrintable(QString::number(exit.elapsed())));
        QVERIFY(m_server->thaw());
    }
};

QTEST_GUILESS_MAIN(TestMMControlPulse)
#include "tst_mmcontrol_pulse.moc"
