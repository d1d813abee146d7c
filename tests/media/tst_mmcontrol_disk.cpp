#include "MMControl.h"
#include "MediaFixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace MediaFixtures;

// SDL's disk driver writes what the mixer produces to a raw file at the
// pace of a real device, so these tests listen to what was actually played.
// SDL opens its audio once per process, hence a binary of its own.
class TestMMControlDisk : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_output;
    QString m_effect;
    QString m_tune;

    // Where the file ends now, on a whole stereo 16-bit frame.
    qint64 end() const { return fileSize(m_output) / 4 * 4; }

    static QByteArray describe(const char *what, const Loudness &l)
    {
        return QStringLiteral("%1: %2 samples, %3 not silent, loudest RMS %4")
            .arg(QLatin1String(what))
            .arg(l.samples)
            .arg(l.nonZero)
            .arg(l.loudestWindowRms)
            .toUtf8();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_output = m_dir.filePath(QStringLiteral("device.raw"));
        m_effect = m_dir.filePath(QStringLiteral("tone.wav"));
        m_tune = m_dir.filePath(QStringLiteral("tune.mid"));
        QVERIFY(writeSineWav(m_effect, 300, 440.0, 0.5));
        QVERIFY(writeOneNoteMidi(m_tune, 600));

        // Read by SDL when the first control opens the device, which has not
        // happened yet in this process.
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_output));
        QVERIFY2(MMControl::audioAvailable(), "SDL's disk audio driver could not be opened");
        QVERIFY2(MMControl::midiAvailable(),
            "tunes cannot sound: SDL2_mixer has no FluidSynth back end, or no TimGM6mb.sf2 was found "
            "(Debian package timgm6mb-soundfont)");
        QTRY_VERIFY_WITH_TIMEOUT(end() > 0, 5000);
    }

    void idleDeviceIsSilent()
    {
        const qint64 from = end();
        QTRY_VERIFY_WITH_TIMEOUT(end() > from + 44100, 5000);
        const Loudness idle = measure(readRange(m_output, from));
        QVERIFY2(idle.samples > 0, describe("idle", idle));
        QVERIFY2(idle.nonZero == 0, describe("idle", idle));
    }

    void waitedEffectIsInTheOutput()
    {
        MMControl control;
        control.Wait = true;
        control.FileName = m_effect;
        const qint64 from = end();
        control.setCommand(QStringLiteral("sound"));

        // Waited for: most of the effect has been written by the time the
        // command returns.
        const Loudness effect = measure(readRange(m_output, from));
        QVERIFY2(effect.nonZero >= 2 * 44100 / 5, describe("effect", effect));
        QVERIFY2(effect.loudestWindowRms > 3000, describe("effect", effect));
    }

    void tuneIsAudibleLoopsAndStops()
    {
        MMControl control;
        QSignalSpy done(&control, &MMControl::Done);
        connect(&control, &MMControl::Done, &control, [&control](int) {
            if (control.Mode() == MMControl::kModeStopped) {
                control.setCommand(QStringLiteral("prev"));
                control.setCommand(QStringLiteral("play"));
            }
        });
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

        // The third round has just begun; stopping it silences the device.
        QCOMPARE(control.Mode(), MMControl::kModePlaying);
        control.setCommand(QStringLiteral("stop"));
        QTest::qWait(300);
        const qint64 quietFrom = end();
        QTRY_VERIFY_WITH_TIMEOUT(end() > quietFrom + 2 * 44100, 5000);
        const Loudness stopped = measure(readRange(m_output, quietFrom));
        QVERIFY2(stopped.nonZero == 0, describe("after stop", stopped));
        QCOMPARE(done.count(), 2);

        // And "play" carries on with it.
        const qint64 resumedFrom = end();
        control.setCommand(QStringLiteral("play"));
        QCOMPARE(control.Mode(), MMControl::kModePlaying);
        QTRY_VERIFY_WITH_TIMEOUT(end() > resumedFrom + 2 * 44100 * 4 / 10, 5000);
        const Loudness resumed = measure(readRange(m_output, resumedFrom));
        QVERIFY2(resumed.loudestWindowRms > 300, describe("resumed", resumed));
        control.setCommand(QStringLiteral("close"));
    }
};

QTEST_GUILESS_MAIN(TestMMControlDisk)
#include "tst_mmcontrol_disk.moc"
