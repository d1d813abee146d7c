#pragma once

#include "AudioDevice.h"
#include "AudioWorker.h"

#include <array>
#include <atomic>
#include <functional>

// Where the effects and the tune go out. With a sound server (or ALSA's
// mixing), each has a device of its own: a small buffer, so that an effect
// follows its click closely, and a large one for the tune, which then wakes
// the process only a few times a second. A driver that opens one device at
// a time (SDL's dummy and disk drivers, and any this program does not know
// to mix) gets one device that both share, with a buffer in between.
//
// Both sources write 16-bit stereo at kRate. A source asks for its device
// when it has something to play and lets it go when it has not; the
// devices are opened and closed on threads of their own.
class AudioOutput
{
public:
    enum Source { Effects, Tune, kSources };
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

    // Adds the source's next frames onto `samples` (silence when it has
    // nothing); runs on SDL's audio thread.
    using Mix = std::function<void(qint16 *samples, int frames)>;

    static AudioOutput &instance();

    // Set once, before the source first asks for its device. `failed` runs
    // on a worker when the device cannot be opened.
    void setSource(Source source, Mix mix, std::function<void()> failed);
    // Both return at once.
    void acquire(Source source);
    void release(Source source);
    // How long a buffer of the source's device plays, in the mode found.
    int bufferMsecs(Source source) const;
    // Closes every device and waits (at exit).
    void shutdown();

    // Adds `add` onto `to`, clipping at the sample's range.
    static void mixInto(qint16 *to, const qint16 *add, int samples);

private:
    AudioOutput();
    void route(Source source, bool wanted);
    void fill(Source owner, qint16 *samples, int frames);
    void failed(Source owner);

    static constexpr int kEffectBufferFrames = 1024; // about 23 ms
    static constexpr int kTuneBufferFrames = 16384; // about 370 ms
    // Shared, a middle way: an effect still follows its click within a
    // tenth of a second, and the tune wakes the process about eleven times
    // a second.
    static constexpr int kSharedBufferFrames = 4096; // about 93 ms

    std::array<Mix, kSources> m_mix;
    std::array<std::function<void()>, kSources> m_failed;
    AudioDevice m_effects;
    AudioDevice m_tune;
    // Stands for both when the driver opens one device only.
    AudioDevice m_shared;
    enum class Mode { Unknown, Separate, Shared };
    std::atomic<Mode> m_mode { Mode::Unknown };
    // The routing worker's alone.
    AudioWorker m_router;
    // Written by the routing worker, read where a device failed to open.
    std::array<std::atomic<bool>, kSources> m_wanted {};
};
