#include "AppPath.h"
#include "EffectQueue.h"
#include "MMControl.h"
#include "MediaFixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace MediaFixtures;

// SDL's disk driver writes what a device plays to a raw file at the pace of
// a real device, so these tests listen to what was actually played. Each
// device takes the file named when it opens: the effects' device (mono)
// opens first, the tune's (stereo) later. SDL starts its audio once per
// process, hence a binary of its own.
class TestMMControlDisk : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_effects;
    QString m_tunes;
    QString m_low;
    QString m_high;
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

    // Where a file ends now, on a whole frame.
    static qint64 end(const QString &path, int frameBytes)
    {
        return fileSize(path) / frameBytes * frameBytes;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_effects = m_dir.filePath(QStringLiteral("effects.raw"));
        m_tunes = m_dir.filePath(QStringLiteral("tunes.raw"));
        m_low = m_dir.filePath(QStringLiteral("low.wav"));
        m_high = m_dir.filePath(QStringLiteral("high.wav"));
        m_tune = m_dir.filePath(QStringLiteral("tune.mid"));
        QVERIFY(writeSineWav(m_low, 300, 440.0, 0.5));
        QVERIFY(writeSineWav(m_high, 300, 880.0, 0.5));
        QVERIFY(writeOneNoteMidi(m_tune, 600));
        AppPath::setFolder(m_dir.path());
        qputenv("SDL_AUDIODRIVER", "disk");
        QVERIFY2(MMControl::midiAvailable(),
            "tunes cannot sound: no FluidSynth, or no TimGM6mb.sf2 was found (Debian package "
            "timgm6mb-soundfont)");
    }

    void effectsSoundWholeOneAfterTheOther()
    {
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_effects));
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
        const Loudness both = measure(readRange(m_effects, 0, end(m_effects, 2)));
        // Two 300 ms effects, in a row rather than over each other.
        QVERIFY2(both.nonZero >= 44100 * 55 / 100, describe("effects", both));
        QVERIFY2(both.loudestWindowRms > 3000, describe("effects", both));
    }

    void tuneIsAudibleLoopsAndStops()
    {
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(m_tunes));
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
        control.setCommand(QStringLiteral("play"));

        QTRY_VERIFY_WITH_TIMEOUT(done.count() >= 1, 12000);
        const qint64 firstEnd = end(m_tunes, 4);
        const Loudness first = measure(readRange(m_tunes, 0, firstEnd));
        QVERIFY2(first.loudestWindowRms > 300, describe("first round", first));

        // Looped from Done: the file goes on growing, with the tune in it again.
        QTRY_VERIFY_WITH_TIMEOUT(done.count() >= 2, 12000);
        const qint64 secondEnd = end(m_tunes, 4);
        QVERIFY(secondEnd > firstEnd);
        const Loudness second = measure(readRange(m_tunes, firstEnd, secondEnd));
        QVERIFY2(second.loudestWindowRms > 300, describe("second round", second));

        // Stopped, the device closes: nothing more is written.
        QCOMPARE(control.Mode(), MMControl::kModePlaying);
        control.setCommand(QStringLiteral("stop"));
        QTest::qWait(1000);
        const qint64 stoppedAt = end(m_tunes, 4);
        QTest::qWait(1000);
        QCOMPARE(end(m_tunes, 4), stoppedAt);
        QCOMPARE(done.count(), 2);
        control.setCommand(QStringLiteral("close"));
    }
};

QTEST_GUILESS_MAIN(TestMMControlDisk)
#include "tst_mmcontrol_disk.moc"
