#include "AppPath.h"
#include "EffectQueue.h"
#include "MMControl.h"
#include "MediaFixtures.h"
#include "TuneRenderer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace MediaFixtures;

// SDL's disk driver writes what its device plays to a raw file at the pace
// of a real device, so these tests listen to what was actually played. It
// opens one device at a time, which the effects and the tune share (16-bit
// stereo). SDL starts its audio once per process, hence a binary of its own.
class TestMMControlDisk : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_output;
    int m_cases = 0;
    QString m_low;
    QString m_high;
    QString m_long;
    QString m_tune;

    static QByteArray describe(const char *what, const Loudness &l)
    {
        return QStringLiteral("%1: %2 samples, %3 not silent, loudest RMS %4")
            .arg(QLatin1String(what))
            .arg(l.samples)
            .arg(l.nonZero)
            .arg(l.loudestWindowRms)
            .toUtf8();
    }

    // Where the output ends now, on a whole frame.
    qint64 end() const { return fileSize(m_output) / 4 * 4; }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_low = m_dir.filePath(QStringLiteral("low.wav"));
        m_high = m_dir.filePath(QStringLiteral("high.wav"));
        m_long = m_dir.filePath(QStringLiteral("long.wav"));
        m_tune = m_dir.filePath(QStringLiteral("tune.mid"));
        QVERIFY(writeSineWav(m_low, 300, 440.0, 0.5));
        QVERIFY(writeSineWav(m_high, 300, 880.0, 0.5));
        QVERIFY(writeSineWav(m_long, 1500, 660.0, 0.5));
        QVERIFY(writeOneNoteMidi(m_tune, 600));
        AppPath::setFolder(m_dir.path());
        AppPath::setCacheFolder(m_dir.filePath(QStringLiteral("cache")));
        TuneRenderer::setProgram(qEnvironmentVariable("VEXA_TEST_BIN") + QStringLiteral("/vexa-tune-render"));
        qputenv("SDL_AUDIODRIVER", "disk");
        QVERIFY2(MMControl::midiAvailable(),
            "tunes cannot sound: no FluidSynth, or no TimGM6mb.sf2 was found (Debian package "
            "timgm6mb-soundfont)");
    }

    void init()
    {
        // The driver starts its file afresh each time the device opens: each
        // case listens to a file of its own, from a device opened for it.
        QTRY_COMPARE_WITH_TIMEOUT(openDevices(), 0, EffectQueue::kIdleMsecs + 5000);
        m_output = m_dir.filePath(QStringLiteral("device%1.raw").arg(++m_cases));
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_output));
    }

    void tuneStartsWhileAnEffectHoldsTheDevice()
    {
        // The disk driver, as an ALSA hardware device without a mixing
        // plugin, opens one device at a time: the first sound of the run is
        // an effect, on a device of its own, when the tune asks for one.
        MMControl effect;
        effect.FileName = m_long;
        effect.setCommand(QStringLiteral("sound"));
        QTRY_VERIFY_WITH_TIMEOUT(end() > 0, 5000);
        MMControl music;
        QSignalSpy done(&music, &MMControl::Done);
        openAndPlay(music, m_tune);
        // The tune neither ends at once nor cuts the effect short: both go
        // on in the one device they now share.
        QTest::qWait(300);
        QCOMPARE(music.Mode(), MMControl::kModePlaying);
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 12000);
        QTRY_COMPARE_WITH_TIMEOUT(EffectQueue::instance().pending(), 0, 5000);
        // The driver starts its file afresh when the shared device opens:
        // what it holds from then on carries the rest of the effect and the
        // whole tune.
        const Loudness heard = measure(readRange(m_output, 0, end()));
        QVERIFY2(heard.nonZero > 2 * 44100 * 6 / 10, describe("effect and tune", heard));
        music.setCommand(QStringLiteral("close"));
    }

    void effectsSoundWholeOneAfterTheOther()
    {
        {
            // Queued, and the control gone at once, as when the window is
            // replaced right after a click: neither effect is cut short.
            MMControl control;
            control.FileName = m_low;
            control.setCommand(QStringLiteral("sound"));
            control.FileName = m_high;
            control.setCommand(QStringLiteral("sound"));
        }
        QTRY_COMPARE_WITH_TIMEOUT(EffectQueue::instance().pending(), 0, 5000);
        QTest::qWait(200);
        const Loudness both = measure(readRange(m_output, 0, end()));
        // Two 300 ms effects in stereo, in a row rather than over each other.
        QVERIFY2(both.nonZero >= 2 * 44100 * 55 / 100, describe("effects", both));
        QVERIFY2(both.loudestWindowRms > 3000, describe("effects", both));
    }

    void tuneIsAudibleLoopsAndStops()
    {
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        loopOnDone(control);
        control.Notify = true;
        control.DeviceType = QStringLiteral("Sequencer");
        control.FileName = m_tune;
        control.setCommand(QStringLiteral("open"));
        const qint64 start = end();
        control.setCommand(QStringLiteral("play"));

        QTRY_VERIFY_WITH_TIMEOUT(done.count() >= 1, 12000);
        const qint64 firstEnd = end();
        const Loudness first = measure(readRange(m_output, start, firstEnd));
        QVERIFY2(first.loudestWindowRms > 300, describe("first round", first));

        // Looped from Done: the file goes on growing, with the tune in it again.
        QTRY_VERIFY_WITH_TIMEOUT(done.count() >= 2, 12000);
        const qint64 secondEnd = end();
        QVERIFY(secondEnd > firstEnd);
        const Loudness second = measure(readRange(m_output, firstEnd, secondEnd));
        QVERIFY2(second.loudestWindowRms > 300, describe("second round", second));

        // Stopped, the device closes once the effects' use of it is over
        // too: nothing more is written.
        QCOMPARE(control.Mode(), MMControl::kModePlaying);
        control.setCommand(QStringLiteral("stop"));
        QTest::qWait(EffectQueue::kIdleMsecs + 1000);
        const qint64 stoppedAt = end();
        QTest::qWait(1000);
        QCOMPARE(end(), stoppedAt);
        QCOMPARE(done.count(), 2);
        control.setCommand(QStringLiteral("close"));
    }
};

QTEST_GUILESS_MAIN(TestMMControlDisk)
#include "tst_mmcontrol_disk.moc"
