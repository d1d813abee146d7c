#include "TunePlayer.h"

#include "AudioOutput.h"
#include "TuneRendering.h"

#include <algorithm>
#include <cstring>

namespace {
// Read ahead: the ring holds this much; it is topped up, a second at a
// time, once it is half empty, so the reader wakes less than once a second.
constexpr std::size_t kRingFrames = 3 * TuneRendering::kRate;
constexpr std::size_t kReadFrames = TuneRendering::kRate;
constexpr std::size_t kChannels = TuneRendering::kChannels;
} // namespace

TunePlayer &TunePlayer::instance()
{
    // Lives until the process ends; the sound system's shutdown closes its
    // device before the worker stops.
    static TunePlayer *player = new TunePlayer;
    return *player;
}

TunePlayer::TunePlayer()
{
    AudioOutput::instance().setSource(AudioOutput::Tune,
        { [this](qint16 *samples, int frames) { mix(samples, frames); },
            [this] {
                // The tune is made, if it must be, only for a device that plays.
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        std::shared_ptr<TuneRendering> tune;
                        {
                            std::lock_guard lock(m_lock);
                            if (m_sounding)
                                tune = m_tune;
                        }
                        if (tune) {
                            tune->start();
                            askToRead();
                        }
                    },
                    Qt::QueuedConnection);
            },
            [this] {
                // No device: the tune is over as soon as it began, unreported.
                quint64 generation = 0;
                {
                    std::lock_guard lock(m_lock);
                    generation = m_generation;
                }
                QMetaObject::invokeMethod(
                    this, [this, generation] { reachedEnd(generation, true); }, Qt::QueuedConnection);
            } });
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
    if (!tune)
        return;
    m_owner = owner;
    m_ended = std::move(ended);
    std::lock_guard lock(m_lock);
    if (m_ring.empty())
        m_ring.resize(kRingFrames * kChannels);
    m_tune = std::move(tune);
    restartAt(0);
    m_atEnd = false;
    ++m_generation;
}

void TunePlayer::play()
{
    {
        std::lock_guard lock(m_lock);
        if (!m_tune)
            return;
        if (m_atEnd) {
            restartAt(0);
            m_atEnd = false;
        }
        m_sounding = true;
        ++m_generation;
    }
    m_playing = true;
    m_closeLater.stop();
    AudioOutput::instance().acquire(AudioOutput::Tune);
    askToRead();
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
    bool sounding = false;
    {
        std::lock_guard lock(m_lock);
        restartAt(0);
        m_atEnd = false;
        ++m_generation;
        sounding = m_sounding;
    }
    if (sounding)
        askToRead();
}

void TunePlayer::unload()
{
    stop();
    {
        std::lock_guard lock(m_lock);
        m_tune.reset();
        restartAt(0);
    }
    m_owner = nullptr;
    m_ended = nullptr;
}

void TunePlayer::silence()
{
    {
        std::lock_guard lock(m_lock);
        m_sounding = false;
        ++m_generation;
    }
    m_playing = false;
}

bool TunePlayer::shutdown(QDeadlineTimer deadline)
{
    silence();
    return m_reader.stopWithin(deadline);
}

void TunePlayer::restartAt(qint64 frame)
{
    m_head = 0;
    m_frames = 0;
    m_readAt = frame;
    m_lastRead = false;
}

void TunePlayer::askToRead()
{
    if (!m_readAsked.exchange(true))
        m_reader.post([this] { readAhead(); });
}

void TunePlayer::readAhead()
{
    // A request from here on is a new one.
    m_readAsked = false;
    for (;;) {
        std::shared_ptr<TuneRendering> tune;
        qint64 at = 0;
        std::size_t room = 0;
        quint64 generation = 0;
        {
            std::lock_guard lock(m_lock);
            if (!m_tune || !m_sounding || m_lastRead)
                return;
            tune = m_tune;
            at = m_readAt;
            room = m_ring.size() / kChannels - m_frames;
            generation = m_generation;
        }
        if (room < kReadFrames / 4)
            return;
        const std::size_t wanted = std::min(room, kReadFrames);
        if (m_scratch.size() < wanted * kChannels)
            m_scratch.resize(kReadFrames * kChannels);
        // Looked at before the read: all that was made by then is read.
        const bool made = tune->isFinished() || tune->hasFailed();
        const std::size_t got = std::size_t(tune->read(at, m_scratch.data(), qint64(wanted)));
        std::lock_guard lock(m_lock);
        if (generation != m_generation)
            continue;
        const std::size_t capacity = m_ring.size() / kChannels;
        const std::size_t tail = (m_head + m_frames) % capacity;
        const std::size_t first = std::min(got, capacity - tail);
        std::memcpy(m_ring.data() + tail * kChannels, m_scratch.data(), first * kChannels * sizeof(qint16));
        std::memcpy(
            m_ring.data(), m_scratch.data() + first * kChannels, (got - first) * kChannels * sizeof(qint16));
        m_frames += got;
        m_readAt += qint64(got);
        if (got < wanted) {
            // Ahead of a rendering still being made: the audio thread asks
            // again. At the end of one that is made: the ring holds the last.
            if (made && m_readAt >= tune->framesReady())
                m_lastRead = true;
            return;
        }
    }
}

void TunePlayer::mix(qint16 *samples, int frames)
{
    bool report = false;
    bool failed = false;
    bool read = false;
    quint64 generation = 0;
    {
        std::lock_guard lock(m_lock);
        if (!m_sounding || m_atEnd || m_ring.empty())
            return;
        const std::size_t capacity = m_ring.size() / kChannels;
        const std::size_t now = std::min(std::size_t(frames), m_frames);
        const std::size_t first = std::min(now, capacity - m_head);
        AudioOutput::mixInto(samples, m_ring.data() + m_head * kChannels, int(first * kChannels));
        AudioOutput::mixInto(samples + first * kChannels, m_ring.data(), int((now - first) * kChannels));
        m_head = (m_head + now) % capacity;
        m_frames -= now;
        if (m_frames == 0 && m_lastRead) {
            m_atEnd = true;
            report = true;
            failed = m_tune->hasFailed();
            generation = m_generation;
        } else if (!m_lastRead && m_frames < capacity / 2) {
            read = true;
        }
    }
    if (read)
        askToRead();
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
