#pragma once

#include "AudioDevice.h"
#include "AudioWorker.h"

#include <QDeadlineTimer>
#include <array>
#include <atomic>
#include <functional>
#include <mutex>

// Where the effects and the tune go out. Each has a device of its own
// where the system mixes streams (a sound server, ALSA's dmix): a small
// buffer, so that an effect follows its click closely, and a large one for
// the tune, which then wakes the process only a few times a second. Where
// a second device cannot be opened beside the first (SDL's dummy and disk
// drivers, an ALSA hardware device without a mixing plugin), both share
// one device from then on, with a buffer in between.
//
// Both sources write 16-bit stereo at kRate. A source asks for its device
// when it has something to play and lets it go when it has not; the
// devices are found, opened and closed on threads of their own, and the
// source hears whether it got one.
class AudioOutput
{
public:
    enum Source { Effects, Tune, kSources };
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

    struct Handlers
    {
        // Adds the source's next frames onto `samples` (silence when it
        // has nothing); runs on SDL's audio thread.
        std::function<void(qint16 *samples, int frames)> mix;
        // The source's device plays; on a worker.
        std::function<void()> opened;
        // No device could be opened for what the source asked for; on a
        // worker. It asks again when it next has something to play.
        std::function<void()> failed;
    };

    static AudioOutput &instance();

    void setSource(Source source, Handlers handlers);
    // Both return at once.
    void acquire(Source source);
    void release(Source source);
    // How long a buffer of the source's device plays, in the mode found.
    int bufferMsecs(Source source) const;
    // Closes every device (at exit), waiting no longer than the deadline;
    // false when a device was still held by SDL then.
    bool shutdown(QDeadlineTimer deadline);

    // Adds `add` onto `to`, clipping at the sample's range.
    static void mixInto(qint16 *to, const qint16 *add, int samples);

private:
    AudioOutput();
    // On the routing worker.
    void route(Source source, bool wanted);
    void settleShared();
    void settleSeparate();
    void report(Source source, bool opened, const QString &why = QString());
    // On SDL's audio threads.
    void fill(Source owner, qint16 *samples, int frames);

    static constexpr int kEffectBufferFrames = 1024; // about 23 ms
    static constexpr int kTuneBufferFrames = 16384; // about 370 ms
    // Shared, a middle way: an effect still follows its click within a
    // tenth of a second, and the tune wakes the process about eleven times
    // a second.
    static constexpr int kSharedBufferFrames = 4096; // about 93 ms

    // setSource may come while a device plays.
    std::mutex m_handlersLock;
    std::array<Handlers, kSources> m_handlers;
    AudioDevice m_effects;
    AudioDevice m_tune;
    // Stands for both when the driver opens one device at a time.
    AudioDevice m_shared;
    enum class Mode { Unknown, Separate, Shared };
    std::atomic<Mode> m_mode { Mode::Unknown };
    AudioWorker m_router;

    // The routing worker's alone.
    std::array<bool, kSources> m_wanted {};
    // Separate: whether the source's own device is open. Shared: whether
    // the source has been told that the shared device plays for it.
    std::array<bool, kSources> m_open {};
    bool m_sharedOpen = false;
};
