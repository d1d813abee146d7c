#include "TunePlayer.h"

#include "AudioOutput.h"
#include "TuneRendering.h"

#include <QFile>
#include <algorithm>

TunePlayer &TunePlayer::instance()
{
    // Lives until the process ends; the sound system's shutdown closes its
    // device before the worker stops.
    static TunePlayer *player = new TunePlayer;
    return *player;
}

TunePlayer::TunePlayer()
{
    AudioOutput::instance().setSource(
        AudioOutput::Tune, [this](qint16 *samples, int frames) { mix(samples, frames); },
        [this] {
            // No device: the tune is over as soon as it began, unreported.
            quint64 generation = 0;
            {
                std::lock_guard lock(m_lock);
                generation = m_generation;
            }
            QMetaObject::invokeMethod(
                this, [this, generation] { reachedEnd(generation, true); }, Qt::QueuedConnection);
        });
    // The device is let go once the buffer with the tune's last notes has
    // played, unless the tune is started again first.
    m_closeLater.setSingleShot(true);
    connect(&m_closeLater, &QTimer::timeout, this, [this] {
        if (!m_playing)
            AudioOutput::instance().release(AudioOutput::Tune);
    });
}

void TunePlayer::load(std::shared_ptr<TuneRendering> tune, const void *owner, std::function<void()> ended)
{
    unload();
    std::FILE *file = tune ? std::fopen(QFile::encodeName(tune->filePath()).constData(), "rb") : nullptr;
    if (!file)
        return;
    m_owner = owner;
    m_ended = std::move(ended);
    std::lock_guard lock(m_lock);
    m_tune = std::move(tune);
    m_file = file;
    m_position = 0;
    m_atEnd = false;
    ++m_generation;
}

void TunePlayer::play()
{
    {
        std::lock_guard lock(m_lock);
        if (!m_file)
            return;
        if (m_atEnd) {
            m_position = 0;
            m_atEnd = false;
        }
        m_sounding = true;
        ++m_generation;
    }
    m_playing = true;
    m_closeLater.stop();
    AudioOutput::instance().acquire(AudioOutput::Tune);
}

void TunePlayer::stop()
{
    {
        std::lock_guard lock(m_lock);
        m_sounding = false;
        ++m_generation;
    }
    m_playing = false;
    m_closeLater.stop();
    AudioOutput::instance().release(AudioOutput::Tune);
}

void TunePlayer::rewind()
{
    std::lock_guard lock(m_lock);
    m_position = 0;
    m_atEnd = false;
    ++m_generation;
}

void TunePlayer::unload()
{
    stop();
    std::lock_guard lock(m_lock);
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_tune.reset();
    m_owner = nullptr;
    m_ended = nullptr;
}

void TunePlayer::silence()
{
    std::lock_guard lock(m_lock);
    m_sounding = false;
    m_playing = false;
}

void TunePlayer::mix(qint16 *samples, int frames)
{
    if (m_scratch.size() < std::size_t(frames) * TuneRendering::kChannels)
        m_scratch.resize(std::size_t(frames) * TuneRendering::kChannels);
    int written = 0;
    bool report = false;
    bool failed = false;
    quint64 generation = 0;
    {
        std::lock_guard lock(m_lock);
        if (m_sounding && m_file && !m_atEnd) {
            const qint64 ready = m_tune->framesReady();
            const qint64 now = std::min<qint64>(frames, ready - m_position);
            if (now > 0
                && std::fseek(m_file,
                       long(TuneRendering::kDataOffset + m_position * TuneRendering::kFrameBytes), SEEK_SET)
                    == 0)
                written
                    = int(std::fread(m_scratch.data(), TuneRendering::kFrameBytes, std::size_t(now), m_file));
            m_position += written;
            // Caught up with a rendering that is still being made: silence
            // until it is ahead again. Caught up with a finished one: the end.
            failed = m_tune->hasFailed();
            if (written < frames
                && (failed || (m_tune->isFinished() && m_position >= m_tune->framesReady()))) {
                m_atEnd = true;
                report = true;
                generation = m_generation;
            }
        }
    }
    AudioOutput::mixInto(samples, m_scratch.data(), written * TuneRendering::kChannels);
    if (report)
        QMetaObject::invokeMethod(
            this, [this, generation, failed] { reachedEnd(generation, failed); }, Qt::QueuedConnection);
}

void TunePlayer::reachedEnd(quint64 generation, bool failed)
{
    {
        std::lock_guard lock(m_lock);
        if (generation != m_generation)
            return;
        m_sounding = false;
    }
    m_playing = false;
    if (!failed && m_ended) {
        // The owner may start the tune again from here.
        const std::function<void()> ended = m_ended;
        ended();
    }
    if (!m_playing)
        m_closeLater.start(AudioOutput::instance().bufferMsecs(AudioOutput::Tune) + 100);
}
