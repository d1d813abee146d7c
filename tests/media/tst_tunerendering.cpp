#include "AppPath.h"
#include "MMControl.h"
#include "MediaFixtures.h"
#include "ProgramFolder.h"
#include "SoundFont.h"
#include "TuneRenderer.h"
#include "TuneRendering.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MediaFixtures;

namespace {

// Rendering, the device's buffer and a round of a short tune.
constexpr int kRoundTimeout = 12000;

// The tune played as the game plays it: open, play, and from Done back to
// the top and on. Ends after `rounds` rounds.
bool playRounds(const QString &tune, int rounds)
{
    MMControl control;
    QSignalSpy done(&control, &MMControl::Done);
    loopOnDone(control);
    openAndPlay(control, tune);
    const bool looped = QTest::qWaitFor([&] { return done.count() >= rounds; }, rounds * kRoundTimeout);
    const bool playing = control.Mode() == MMControl::kModePlaying;
    control.setCommand(QStringLiteral("close"));
    return looped && playing;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::Files | QDir::Dirs | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

// The rendered tunes in the cache, with whatever a disk or another program
// may put in their way: each tune still sounds whole and loops, and the
// game never opens what is not its own regular file.
class TestTuneRendering : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_tunes = 0;
    std::unique_ptr<SoundWarnings> m_warnings;

    // A tune of its own for each case, so that nothing of another case is
    // found in a cache or in memory.
    QString newTune(int milliseconds = 1200)
    {
        const QString path = m_dir.filePath(QStringLiteral("tune%1.mid").arg(++m_tunes));
        return writeOneNoteMidi(path, milliseconds, m_tunes % 100) ? path : QString();
    }

    // Where the tune's rendering is kept, found by rendering it elsewhere.
    QString cacheName(const QString &tune)
    {
        const QString cache = AppPath::cacheFolder();
        AppPath::setCacheFolder(m_dir.filePath(QStringLiteral("scratch%1").arg(m_tunes)));
        auto rendering = TuneRendering::of(tune);
        rendering->start();
        const bool finished = QTest::qWaitFor([&] { return rendering->isFinished(); }, kRoundTimeout);
        const QString name = finished ? QFileInfo(rendering->cacheFile()).fileName() : QString();
        rendering.reset();
        AppPath::setCacheFolder(cache);
        return name.isEmpty() ? QString() : QDir(cache).filePath(name);
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
            qputenv("SDL_AUDIODRIVER", "dummy");
        QVERIFY(m_dir.isValid());
        TuneRenderer::setProgram(ProgramFolder::buildFolder() + QStringLiteral("/vexa-tune-render"));
        AppPath::setFolder(m_dir.path());
        QVERIFY2(MMControl::midiAvailable(),
            "tunes cannot sound: no renderer, no audio or no TimGM6mb.sf2 (Debian package "
            "timgm6mb-soundfont)");
        m_warnings = std::make_unique<SoundWarnings>();
    }

    void cleanupTestCase()
    {
        m_warnings.reset();
        AppPath::reset();
    }

    void init()
    {
        m_warnings->clear();
        AppPath::setCacheFolder(m_dir.filePath(QStringLiteral("cache%1").arg(m_tunes + 1)));
    }

    void cleanup() { SoundFont::setPreferred(QString()); }

    void fileSizeLimitKeepsTheRestInMemory()
    {
        const QString tune = newTune(1500);
        // The whole tune, as a rendering without the limit makes it.
        auto whole = TuneRendering::of(tune);
        whole->start();
        QTRY_VERIFY_WITH_TIMEOUT(whole->isFinished(), kRoundTimeout);
        const qint64 frames = whole->framesReady();
        QVERIFY(QFile::remove(whole->cacheFile()));
        whole.reset();

        // A third of a second of sound fits under the limit.
        rlimit before {};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &before) == 0);
        rlimit limited = before;
        limited.rlim_cur = 64 * 1024;
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &limited) == 0);
        auto rendering = TuneRendering::of(tune);
        const bool rounds = playRounds(tune, 2);
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &before) == 0);

        QVERIFY(rounds);
        QCOMPARE(rendering->framesReady(), frames);
        QVERIFY(rendering->cacheFile().isEmpty());
        // No part file is left, and the cause was told once.
        QCOMPARE(entries(AppPath::cacheFolder()), QStringList());
        const QStringList told = m_warnings->said().filter(QStringLiteral("File too large"));
        QCOMPARE(told.size(), 1);
    }

    void hostileFilesAtTheCacheNamesAreNeverOpened()
    {
        const QString tune = newTune();
        const QString kept = cacheName(tune);
        QVERIFY(!kept.isEmpty());
        QVERIFY(QDir().mkpath(AppPath::cacheFolder()));
        // A link where the rendering goes, to a file of the player's, and
        // a FIFO where an earlier version wrote the rendering: opening the
        // FIFO would wait for a writer, the link would lose the file.
        const QString precious = m_dir.filePath(QStringLiteral("precious.txt"));
        {
            QFile file(precious);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("the player's own");
        }
        QVERIFY(QFile::link(precious, kept));
        QVERIFY(::mkfifo(QFile::encodeName(kept + QStringLiteral(".part")).constData(), 0600) == 0);

        QVERIFY(playRounds(tune, 2));
        QFile file(precious);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("the player's own"));
        // The rendering took the link's place, and the FIFO was cleared away.
        QVERIFY(!QFileInfo(kept).isSymLink() && QFileInfo(kept).isFile());
        QCOMPARE(entries(AppPath::cacheFolder()), QStringList { QFileInfo(kept).fileName() });
    }

    void folderAtTheCacheNameStillLoops()
    {
        const QString tune = newTune();
        const QString kept = cacheName(tune);
        QVERIFY(!kept.isEmpty());
        QVERIFY(QDir().mkpath(kept));
        QVERIFY(playRounds(tune, 2));
        QVERIFY(QFileInfo(kept).isDir());
        QCOMPARE(entries(AppPath::cacheFolder()), QStringList { QFileInfo(kept).fileName() });
        // The next game finds it made: nothing is rendered again.
        const auto again = TuneRendering::of(tune);
        QVERIFY(again->isFinished());
    }

    void noCacheFolderPlaysFromMemory()
    {
        // Nothing can be made below a regular file, not even by root.
        const QString file = m_dir.filePath(QStringLiteral("a-file"));
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        AppPath::setCacheFolder(file + QStringLiteral("/cache"));
        QVERIFY(playRounds(newTune(), 2));
    }

    void brokenSoundFontIsPassedOverForTheNext()
    {
        // It passes for a soundfont at a glance; its body is noise.
        const QString broken = m_dir.filePath(QStringLiteral("broken.sf2"));
        QVERIFY(writeGarbage(broken, 256 * 1024));
        {
            QFile file(broken);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.write(QByteArray("RIFF\x00\x00\x04\x00sfbk", 12));
        }
        SoundFont::setPreferred(broken);
        QCOMPARE(SoundFont::resolved(), broken);
        const QString tune = newTune();
        QVERIFY(playRounds(tune, 2));
        QVERIFY(!m_warnings->said().filter(broken).isEmpty());
        // Not asked again in this run.
        QVERIFY(SoundFont::resolved() != broken);
        // Kept in the cache as a rendering of the next soundfont.
        QCOMPARE(entries(AppPath::cacheFolder()).size(), 1);
    }

    void leftoversOfEarlierRunsGo()
    {
        const QString tune = newTune();
        const QString base = QFileInfo(tune).completeBaseName();
        const QString cache = AppPath::cacheFolder();
        QVERIFY(QDir().mkpath(cache));
        const auto touch = [&](const QString &name) {
            QFile file(QDir(cache).filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write("left over") > 0;
        };
        // A rendering of the same tune made another way, a part file of a
        // run that was killed, a part file that another run still writes,
        // and files that are not the game's.
        QVERIFY(touch(base + QStringLiteral("-0123456789abcdef.wav")));
        QVERIFY(touch(base + QStringLiteral("-0123456789abcdef.wav.Xk3j9q.part")));
        QVERIFY(touch(QStringLiteral("busy.wav.Q2w3e4.part")));
        QVERIFY(touch(base + QStringLiteral("x-0123456789abcdef.wav")));
        QVERIFY(touch(QStringLiteral("notes.txt")));
        const int busy = ::open(
            QFile::encodeName(QDir(cache).filePath(QStringLiteral("busy.wav.Q2w3e4.part"))).constData(),
            O_RDONLY);
        QVERIFY(busy >= 0 && ::flock(busy, LOCK_EX) == 0);

        auto rendering = TuneRendering::of(tune);
        rendering->start();
        QTRY_VERIFY_WITH_TIMEOUT(rendering->isFinished(), kRoundTimeout);
        ::close(busy);
        QStringList expected { QFileInfo(rendering->cacheFile()).fileName(),
            QStringLiteral("busy.wav.Q2w3e4.part"), base + QStringLiteral("x-0123456789abcdef.wav"),
            QStringLiteral("notes.txt") };
        expected.sort();
        QCOMPARE(entries(cache), expected);
    }

    void synthesiserNeverEntersTheGame()
    {
        auto rendering = TuneRendering::of(newTune());
        rendering->start();
        QTRY_VERIFY_WITH_TIMEOUT(rendering->isFinished(), kRoundTimeout);
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("libfluidsynth"));
    }

    void silenceAfterTheLastNoteIsCutOff()
    {
        // FluidSynth goes on for seconds after a note's end; what is kept
        // is the note and its release.
        auto rendering = TuneRendering::of(newTune(1000));
        rendering->start();
        QTRY_VERIFY_WITH_TIMEOUT(rendering->isFinished(), kRoundTimeout);
        const qint64 frames = rendering->framesReady();
        QVERIFY2(frames >= TuneRendering::kRate && frames < TuneRendering::kRate * 5 / 2,
            qPrintable(QString::number(frames)));
        std::vector<qint16> last(std::size_t(TuneRendering::kRate / 10) * TuneRendering::kChannels);
        const qint64 from = frames - TuneRendering::kRate / 10;
        QCOMPARE(rendering->read(from, last.data(), TuneRendering::kRate / 10), TuneRendering::kRate / 10);
        // The last tenth of a second still rings, if quietly.
        QVERIFY(std::any_of(last.begin(), last.end(), [](qint16 s) { return s != 0; }));
    }
};

QTEST_GUILESS_MAIN(TestTuneRendering)
#include "tst_tunerendering.moc"
