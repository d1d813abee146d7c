#include "EffectQueue.h"

#include "AudioOutput.h"
#include "RegularFile.h"
#include "SdlLibrary.h"
#include "SoundWarning.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <cstring>

namespace {
// Larger than any effect; a wave file this big is no effect.
constexpr qint64 kLargestEffectFile = 32 << 20;
} // namespace

EffectQueue &EffectQueue::instance()
{
    // Lives until the process ends; the sound system's shutdown closes its
    // device before the worker stops.
    static EffectQueue *queue = new EffectQueue;
    return *queue;
}

EffectQueue::EffectQueue()
{
    AudioOutput::instance().setSource(
        AudioOutput::Effects, [this](qint16 *samples, int frames) { mix(samples, frames); },
        [this] { dropAll(); });
    m_idle.setSingleShot(true);
    m_idle.setInterval(kIdleMsecs);
    connect(&m_idle, &QTimer::timeout, this, [this] {
        if (m_unfinished.load() == 0)
            AudioOutput::instance().release(AudioOutput::Effects);
    });
}

void EffectQueue::play(const QString &path, QObject *receiver, std::function<void()> done)
{
    const quint64 id = ++m_nextId;
    m_callbacks[id] = Callback { receiver, receiver != nullptr, std::move(done) };
    ++m_unfinished;
    m_idle.stop();
    m_loader.post([this, path, id] {
        const Samples samples = load(path);
        if (!samples || samples->empty()) {
            --m_unfinished;
            QMetaObject::invokeMethod(
                this, [this, id] { finished(id, false); }, Qt::QueuedConnection);
            return;
        }
        {
            std::lock_guard lock(m_lock);
            m_queue.push_back(Sounding { samples, 0, id });
        }
        m_queuedFrames += qint64(samples->size()) / AudioOutput::kChannels;
        AudioOutput::instance().acquire(AudioOutput::Effects);
    });
}

EffectQueue::Samples EffectQueue::load(const QString &path)
{
    const QFileInfo info(path);
    // Anything but a regular file (a FIFO would block the read) counts as
    // missing.
    if (!RegularFile::isRegular(path) || info.size() > kLargestEffectFile) {
        SoundWarning::once(SoundWarning::EffectLoad, QStringLiteral("no effect at \"%1\"").arg(path));
        return {};
    }
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    const auto cached = m_loaded.constFind(path);
    if (cached != m_loaded.constEnd() && cached->size == info.size() && cached->modified == modified)
        return cached->samples;

    const SdlLibrary *sdl = SdlLibrary::audio();
    if (!sdl)
        return {};
    const std::optional<QByteArray> read = RegularFile::read(path, kLargestEffectFile);
    if (!read)
        return {};
    const QByteArray &bytes = *read;
    SDL_AudioSpec loaded {};
    Uint8 *wave = nullptr;
    Uint32 length = 0;
    if (!sdl->LoadWAV_RW(
            sdl->RWFromConstMem(bytes.constData(), int(bytes.size())), 1, &loaded, &wave, &length)) {
        SoundWarning::once(SoundWarning::EffectLoad,
            QStringLiteral("cannot load effect \"%1\": %2").arg(path, sdl->GetError()));
        return {};
    }
    SDL_AudioCVT convert {};
    const int needed = sdl->BuildAudioCVT(&convert, loaded.format, loaded.channels, loaded.freq, AUDIO_S16SYS,
        AudioOutput::kChannels, AudioOutput::kRate);
    if (needed < 0) {
        sdl->FreeWAV(wave);
        SoundWarning::once(
            SoundWarning::EffectLoad, QStringLiteral("cannot convert effect \"%1\"").arg(path));
        return {};
    }
    std::vector<quint8> buffer(std::size_t(length) * std::size_t(std::max(convert.len_mult, 1)));
    std::memcpy(buffer.data(), wave, length);
    sdl->FreeWAV(wave);
    int converted = int(length);
    if (needed > 0) {
        convert.buf = buffer.data();
        convert.len = int(length);
        if (sdl->ConvertAudio(&convert) != 0)
            return {};
        converted = convert.len_cvt;
    }
    auto samples = std::make_shared<std::vector<qint16>>(std::size_t(converted) / sizeof(qint16));
    std::memcpy(samples->data(), buffer.data(), samples->size() * sizeof(qint16));
    m_loaded.insert(path, Loaded { info.size(), modified, samples });
    return samples;
}

void EffectQueue::mix(qint16 *samples, int frames)
{
    std::vector<quint64> ended;
    const int wanted = frames * AudioOutput::kChannels;
    int done = 0;
    {
        std::lock_guard lock(m_lock);
        while (done < wanted && !m_queue.empty()) {
            Sounding &front = m_queue.front();
            const std::size_t left = front.samples->size() - front.played;
            const std::size_t now = std::min(left, std::size_t(wanted - done));
            AudioOutput::mixInto(samples + done, front.samples->data() + front.played, int(now));
            front.played += now;
            done += int(now);
            if (front.played == front.samples->size()) {
                ended.push_back(front.id);
                m_queue.pop_front();
            }
        }
    }
    m_queuedFrames -= done / AudioOutput::kChannels;
    if (done > 0)
        m_lastSoundAt = QDeadlineTimer::current().deadline();
    if (ended.empty())
        return;
    m_unfinished -= int(ended.size());
    QMetaObject::invokeMethod(
        this,
        [this, ended] {
            for (const quint64 id : ended)
                finished(id, true);
        },
        Qt::QueuedConnection);
}

void EffectQueue::finished(quint64 id, bool sounded)
{
    const auto it = m_callbacks.find(id);
    if (it != m_callbacks.end()) {
        const Callback callback = it->second;
        m_callbacks.erase(it);
        const bool receiverAlive = !callback.hasReceiver || callback.receiver;
        if (sounded && callback.done && receiverAlive)
            callback.done();
    }
    if (m_unfinished.load() == 0)
        m_idle.start();
}

void EffectQueue::dropAll()
{
    std::vector<quint64> dropped;
    {
        std::lock_guard lock(m_lock);
        for (const Sounding &effect : m_queue)
            dropped.push_back(effect.id);
        m_queue.clear();
    }
    m_queuedFrames = 0;
    m_unfinished -= int(dropped.size());
    QMetaObject::invokeMethod(
        this,
        [this, dropped] {
            for (const quint64 id : dropped)
                finished(id, false);
        },
        Qt::QueuedConnection);
}

void EffectQueue::drain()
{
    // Every effect asked for is loaded and queued by then.
    m_loader.run([] {});
    const int bufferMsecs = AudioOutput::instance().bufferMsecs(AudioOutput::Effects);
    // What is queued needs its own length; a stuck device gets a second more.
    const qint64 queuedMsecs = m_queuedFrames.load() * 1000 / AudioOutput::kRate;
    QDeadlineTimer deadline(queuedMsecs + 1000 + bufferMsecs);
    while (m_unfinished.load() > 0 && !deadline.hasExpired())
        QThread::msleep(5);
    // The last samples went to SDL in the buffer last filled; let it play.
    const qint64 lastHeard = m_lastSoundAt.load();
    if (lastHeard != 0) {
        const qint64 quietAt = lastHeard + bufferMsecs + 20;
        const qint64 now = QDeadlineTimer::current().deadline();
        if (quietAt > now)
            QThread::msleep(quint64(quietAt - now));
    }
    m_idle.stop();
    m_loader.stop();
}
