#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

// A tune made into sound once. The renderer (TuneRenderer) turns the MIDI
// file into samples on a thread of this class's own, much faster than they
// play, so the player can start reading while they come. They are kept in
// a wave file in the cache folder, named after the tune and a hash of all
// that made it, so that later games read the cache and need no
// synthesiser; a changed tune, soundfont or synthesiser is rendered anew.
//
// A tune sounds whatever the disk does: where the cache cannot be written
// (no folder, a full disk, a file size limit, something else at the cache
// file's name) the samples are kept in memory, and the trouble is told
// once. Only regular files are opened, never through a link, and the file
// being written has a name of its own that nobody else uses.
//
// The silence that FluidSynth leaves after the last note is cut off (the
// notes' release is kept), so that a looped tune starts again as its last
// notes end.
class TuneRendering : public std::enable_shared_from_this<TuneRendering>
{
public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kFrameBytes = kChannels * 2;
    // Where the samples start in the wave file.
    static constexpr qint64 kDataOffset = 44;

    // The rendering of a MIDI file, not started yet: null when the file is
    // no standard MIDI file. Renderings of one tune alive at once are one.
    static std::shared_ptr<TuneRendering> of(const QString &midiPath);
    // Asks renderings in progress to stop and waits for them (at exit),
    // no longer than the deadline.
    static bool stopAll(QDeadlineTimer deadline);

    ~TuneRendering();
    TuneRendering(const TuneRendering &) = delete;
    TuneRendering &operator=(const TuneRendering &) = delete;

    // Finds the tune in the cache or starts rendering it, on a thread of
    // its own; once. On the thread that made it.
    void start();
    // Frames that can be read now.
    qint64 framesReady() const { return m_ready.load(); }
    bool isFinished() const { return m_state.load() == State::Finished; }
    bool hasFailed() const { return m_state.load() == State::Failed; }
    // Copies up to `frames` frames from `from` on; how many it copied. It
    // may read the disk. From any thread.
    qint64 read(qint64 from, qint16 *to, qint64 frames) const;
    // The cache file the samples are kept in, once finished; "" when they
    // are not kept there.
    QString cacheFile() const;

private:
    enum class State { Waiting, Rendering, Finished, Failed };
    struct Setting
    {
        QString midiPath;
        QByteArray midi;
        // Known by it among the renderings of this run.
        QByteArray id;
        // Taken on the window's thread, where the game's paths are set.
        QString cacheFolder;
        QString legacyCacheFolder;
        QStringList soundFonts;
        QString renderer;
    };
    explicit TuneRendering(Setting setting);

    // On the rendering's thread.
    void run();
    bool openCached(const QString &path);
    enum class Made { Whole, SoundFontRefused, Failed };
    Made renderWith(const QString &soundFont, const QString &target);
    void take(const QByteArray &bytes);
    void keepInMemory(const qint16 *samples, qint64 frames);
    void finish(bool whole, const QString &target);
    void dropPart();

    const Setting m_setting;
    std::atomic<State> m_state { State::Waiting };
    std::atomic<qint64> m_ready { 0 };

    // The wave file being written or read, -1 without one; frames kept in
    // it, from the first on, and after them those kept in memory.
    std::atomic<int> m_fd { -1 };
    std::atomic<qint64> m_fileFrames { 0 };
    mutable std::mutex m_memoryLock;
    std::vector<std::vector<qint16>> m_memory;
    qint64 m_memoryFrames = 0;
    QString m_cacheFile;

    // The rendering thread's.
    QString m_partPath;
    qint64 m_received = 0;
    QByteArray m_partialFrame;
    qint64 m_lastLoud = -1;
    bool m_toMemory = false;
};
