#pragma once

#include <QString>
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>

// A tune made into sound once. FluidSynth renders the MIDI file into a wave
// file in the cache folder, on a thread of its own and much faster than it
// plays, so the player can start reading while the file grows; later plays
// of the same tune with the same soundfont read the cache and need no
// synthesiser at all. A cache file is named after the tune and a hash of
// what made it, so a changed tune or soundfont is rendered anew.
class TuneRendering
{
public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;
    static constexpr int kFrameBytes = kChannels * 2;
    // Where the samples start in the wave file.
    static constexpr qint64 kDataOffset = 44;

    // The rendering of a MIDI file, from the cache or started now; null
    // when it cannot be made (no soundfont, no FluidSynth, no file, no
    // cache folder). Renderings of one tune in progress are shared.
    static std::shared_ptr<TuneRendering> of(const QString &midiPath);
    // The folder the renderings go to: "cache" in the game's data folder.
    static QString cacheFolder();
    // Asks renderings in progress to stop and waits for them (at exit).
    static void stopAll();

    // The wave file: the growing part file while rendering, then the cache.
    QString filePath() const;
    qint64 framesReady() const { return m_framesReady.load(); }
    bool isFinished() const { return m_state.load() == State::Finished; }
    bool hasFailed() const { return m_state.load() == State::Failed; }

    TuneRendering(const QString &path, qint64 frames, bool finished);

private:
    enum class State { Rendering, Finished, Failed };
    static void render(std::shared_ptr<TuneRendering> self, std::FILE *out, QByteArray midi,
        QString soundFont, QString target);
    void renderNow(std::FILE *out, const QByteArray &midi, const QString &soundFont, const QString &target);
    void setPath(const QString &path);

    mutable std::mutex m_lock;
    QString m_path;
    std::atomic<qint64> m_framesReady { 0 };
    std::atomic<State> m_state { State::Rendering };
};
