#include "AudioOutput.h"

#include "SdlLibrary.h"
#include "SoundWarning.h"

#include <algorithm>
#include <cstring>

AudioOutput &AudioOutput::instance()
{
    // Lives until the process ends; shutdown() closes its devices first.
    static AudioOutput *output = new AudioOutput;
    return *output;
}

AudioOutput::AudioOutput()
    : m_effects("effect", kRate, kChannels, kEffectBufferFrames,
        [this](qint16 *samples, int frames) { fill(Effects, samples, frames); })
    , m_tune("tune", kRate, kChannels, kTuneBufferFrames,
          [this](qint16 *samples, int frames) { fill(Tune, samples, frames); })
    , m_shared("sound", kRate, kChannels, kSharedBufferFrames,
          [this](qint16 *samples, int frames) { fill(kSources, samples, frames); })
{ }

void AudioOutput::setSource(Source source, Handlers handlers)
{
    std::lock_guard lock(m_handlersLock);
    m_handlers[source] = std::move(handlers);
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
        if (!SdlLibrary::audio()) {
            if (wanted)
                report(source, false);
            return;
        }
        // Every driver is first asked for a device each; the first refusal
        // of a second one tells otherwise.
        m_mode = Mode::Separate;
    }
    m_wanted[source] = wanted;
    if (m_mode == Mode::Shared)
        settleShared();
    else
        settleSeparate();
}

void AudioOutput::settleSeparate()
{
    for (const Source source : { Effects, Tune }) {
        AudioDevice &device = source == Effects ? m_effects : m_tune;
        const Source other = source == Effects ? Tune : Effects;
        if (m_wanted[source] && !m_open[source]) {
            QString why;
            m_open[source] = device.openAndWait(&why);
            if (!m_open[source] && m_open[other]) {
                // The first device holds the hardware. From now on both
                // share one: what the other plays moves over to it.
                (other == Effects ? m_effects : m_tune).closeAndWait();
                m_open = {};
                m_mode = Mode::Shared;
                settleShared();
                return;
            }
            if (m_open[source])
                report(source, true);
            else
                report(source, false, why);
        } else if (!m_wanted[source] && m_open[source]) {
            device.close();
            m_open[source] = false;
        }
    }
}

void AudioOutput::settleShared()
{
    const bool needed = m_wanted[Effects] || m_wanted[Tune];
    if (needed && !m_sharedOpen) {
        QString why;
        m_sharedOpen = m_shared.openAndWait(&why);
        if (!m_sharedOpen) {
            for (const Source source : { Effects, Tune }) {
                if (m_wanted[source])
                    report(source, false, why);
            }
            return;
        }
    } else if (!needed && m_sharedOpen) {
        m_shared.close();
        m_sharedOpen = false;
    }
    for (const Source source : { Effects, Tune }) {
        if (m_wanted[source] && !m_open[source])
            report(source, true);
        m_open[source] = m_wanted[source];
    }
}

void AudioOutput::report(Source source, bool opened, const QString &why)
{
    if (!opened) {
        // Asked for again, it is tried again: a sound server may be back.
        m_wanted[source] = false;
        if (!why.isEmpty())
            SoundWarning::once(SoundWarning::AudioInit, why);
    }
    std::function<void()> handler;
    {
        std::lock_guard lock(m_handlersLock);
        handler = opened ? m_handlers[source].opened : m_handlers[source].failed;
    }
    if (handler)
        handler();
}

void AudioOutput::fill(Source owner, qint16 *samples, int frames)
{
    std::memset(samples, 0, std::size_t(frames) * kChannels * sizeof(qint16));
    std::lock_guard lock(m_handlersLock);
    // Shared, the tune lies under the effects.
    for (const Source source : { Tune, Effects }) {
        if ((owner == source || owner == kSources) && m_handlers[source].mix)
            m_handlers[source].mix(samples, frames);
    }
}

int AudioOutput::bufferMsecs(Source source) const
{
    if (m_mode == Mode::Shared)
        return kSharedBufferFrames * 1000 / kRate;
    return (source == Effects ? kEffectBufferFrames : kTuneBufferFrames) * 1000 / kRate;
}

bool AudioOutput::shutdown(QDeadlineTimer deadline)
{
    bool whole = m_router.stopWithin(deadline);
    // Each device closes on its own worker, so one stuck in a stalled
    // server does not keep the others open.
    m_effects.close();
    m_tune.close();
    m_shared.close();
    whole = m_effects.shutdown(deadline) && whole;
    whole = m_tune.shutdown(deadline) && whole;
    whole = m_shared.shutdown(deadline) && whole;
    if (whole) {
        // The next command starts afresh.
        m_wanted = {};
        m_open = {};
        m_sharedOpen = false;
    }
    return whole;
}

void AudioOutput::mixInto(qint16 *to, const qint16 *add, int samples)
{
    for (int i = 0; i < samples; ++i)
        to[i] = qint16(std::clamp(int(to[i]) + int(add[i]), -32768, 32767));
}
