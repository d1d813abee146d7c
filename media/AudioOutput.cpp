#include "AudioOutput.h"

#include "SdlLibrary.h"

#include <algorithm>
#include <cstring>

AudioOutput &AudioOutput::instance()
{
    // Lives until the process ends; shutdown() closes its devices first.
    static AudioOutput *output = new AudioOutput;
    return *output;
}

AudioOutput::AudioOutput()
    : m_effects(
        "effect", kRate, kChannels, kEffectBufferFrames,
        [this](qint16 *samples, int frames) { fill(Effects, samples, frames); }, [this] { failed(Effects); })
    , m_tune(
          "tune", kRate, kChannels, kTuneBufferFrames,
          [this](qint16 *samples, int frames) { fill(Tune, samples, frames); }, [this] { failed(Tune); })
    , m_shared(
          "sound", kRate, kChannels, kSharedBufferFrames,
          [this](qint16 *samples, int frames) { fill(kSources, samples, frames); },
          [this] { failed(kSources); })
{ }

void AudioOutput::setSource(Source source, Mix mix, std::function<void()> failed)
{
    m_mix[source] = std::move(mix);
    m_failed[source] = std::move(failed);
}

void AudioOutput::acquire(Source source)
{
    m_router.post([this, source] { route(source, true); });
}

void AudioOutput::release(Source source)
{
    m_router.post([this, source] { route(source, false); });
}

void AudioOutput::route(Source source, bool wanted)
{
    if (m_mode == Mode::Unknown) {
        const SdlLibrary *sdl = SdlLibrary::audio();
        if (!sdl) {
            if (wanted)
                failed(source);
            return;
        }
        m_mode = sdl->allowsSeveralDevices() ? Mode::Separate : Mode::Shared;
    }
    const bool before = m_wanted[Effects] || m_wanted[Tune];
    m_wanted[source] = wanted;
    const bool after = m_wanted[Effects] || m_wanted[Tune];
    if (m_mode == Mode::Shared) {
        if (after && !before)
            m_shared.open();
        else if (before && !after)
            m_shared.close();
        else if (wanted)
            // Already open for the other source, or about to be.
            m_shared.open();
        return;
    }
    AudioDevice &device = source == Effects ? m_effects : m_tune;
    if (wanted)
        device.open();
    else
        device.close();
}

void AudioOutput::fill(Source owner, qint16 *samples, int frames)
{
    std::memset(samples, 0, std::size_t(frames) * kChannels * sizeof(qint16));
    // Shared, the tune lies under the effects.
    for (const Source source : { Tune, Effects }) {
        if ((owner == source || owner == kSources) && m_mix[source])
            m_mix[source](samples, frames);
    }
}

void AudioOutput::failed(Source owner)
{
    for (const Source source : { Tune, Effects }) {
        if ((owner == source || owner == kSources) && m_failed[source] && m_wanted[source])
            m_failed[source]();
    }
}

int AudioOutput::bufferMsecs(Source source) const
{
    if (m_mode == Mode::Shared)
        return kSharedBufferFrames * 1000 / kRate;
    return (source == Effects ? kEffectBufferFrames : kTuneBufferFrames) * 1000 / kRate;
}

void AudioOutput::shutdown()
{
    m_router.stop();
    m_effects.shutdown();
    m_tune.shutdown();
    m_shared.shutdown();
    for (std::atomic<bool> &wanted : m_wanted)
        wanted = false;
}

void AudioOutput::mixInto(qint16 *to, const qint16 *add, int samples)
{
    for (int i = 0; i < samples; ++i)
        to[i] = qint16(std::clamp(int(to[i]) + int(add[i]), -32768, 32767));
}
