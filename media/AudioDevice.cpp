#include "AudioDevice.h"

#include "SdlLibrary.h"

#include <mutex>

AudioDevice::AudioDevice(const char *name, int rate, int channels, int bufferFrames, Fill fill)
    : m_name(name)
    , m_rate(rate)
    , m_channels(channels)
    , m_bufferFrames(bufferFrames)
    , m_fill(std::move(fill))
{ }

AudioDevice::~AudioDevice()
{
    closeAndWait();
}

bool AudioDevice::openAndWait(QString *why)
{
    bool opened = false;
    m_worker.run([this, &opened, why] { opened = openNow(why); });
    return opened;
}

void AudioDevice::close()
{
    m_worker.post([this] { closeNow(); });
}

bool AudioDevice::closeAndWait(QDeadlineTimer deadline)
{
    return m_worker.runWithin([this] { closeNow(); }, deadline);
}

bool AudioDevice::shutdown(QDeadlineTimer deadline)
{
    return closeAndWait(deadline) && m_worker.stopWithin(deadline);
}

bool AudioDevice::openNow(QString *why)
{
    if (m_id != 0)
        return true;
    const SdlLibrary *sdl = SdlLibrary::audio();
    if (!sdl) {
        *why = QStringLiteral("no audio");
        return false;
    }
    SDL_AudioSpec wanted {};
    wanted.freq = m_rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = Uint8(m_channels);
    wanted.samples = Uint16(m_bufferFrames);
    wanted.callback = &AudioDevice::callback;
    wanted.userdata = this;
    // No changes allowed: SDL converts for the hardware, and the fill
    // function keeps writing the format it knows. SDL picks a free slot for
    // the device without a lock of its own, so the devices' workers take
    // turns here; closing takes no slot and needs no turn.
    static std::mutex opening;
    {
        std::lock_guard lock(opening);
        m_id = sdl->OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    }
    if (m_id == 0) {
        *why = QStringLiteral("cannot open the %1 device: %2")
                   .arg(QLatin1String(m_name), QString::fromUtf8(sdl->GetError()));
        return false;
    }
    sdl->PauseAudioDevice(m_id, 0);
    return true;
}

void AudioDevice::closeNow()
{
    if (m_id == 0)
        return;
    if (const SdlLibrary *sdl = SdlLibrary::audio())
        sdl->CloseAudioDevice(m_id);
    m_id = 0;
}

void AudioDevice::callback(void *self, quint8 *stream, int bytes)
{
    auto *device = static_cast<AudioDevice *>(self);
    device->m_fill(reinterpret_cast<qint16 *>(stream), bytes / int(sizeof(qint16)) / device->m_channels);
}
