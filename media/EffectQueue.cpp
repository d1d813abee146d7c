#include "EffectQueue.h"

#include "AudioOutput.h"
#include "RegularFile.h"
#include "SdlLibrary.h"
#include "SoundWarning.h"

#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <cstring>

namespace {
// Larger than any effect; a wave file this big is no effect.
constexpr qint64 kLargestEffectFile = 32 << 20;
// The loads asked for before an exit are done within this.
constexpr int kLoadWaitMsecs = 500;

qint64 now()
{
    return QDeadlineTimer::current().deadline();
}
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
    AudioOutput::instance().setSource(AudioOutput::Effects,
        { [this](qint16 *samples, int frames) { mix(samples, frames); }, nullptr, [this] { dropAll(); } });
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
    if (m_gathering.empty()) {
        m_gatheringSince = now();
        QMetaObject::invokeMethod(this, &EffectQueue::closeGroup, Qt::QueuedConnection);
    }
    m_gathering.push_back(Request { path, id });
}

void EffectQueue::closeGroup()
{
    if (m_gathering.empty())
        return;
    std::vector<Request> requests;
    requests.swap(m_gathering);
    const qint64 due = m_gatheringSince;
    m_loader.post([this, requests = std::move(requests), due] { enqueue(requests, due); });
}

void EffectQueue::enqueue(const std::vector<Request> &requests, qint64 due)
{
    Group group;
    group.due = due;
    std::vector<quint64> unplayable;
    for (const Request &request : requests) {
        const Samples samples = load(request.path);
        if (!samples || samples->empty()) {
            unplayable.push_back(request.id);
            continue;
        }
        if (group.effects.empty())
            group.head = request.path;
        group.effects.push_back(Effect { samples, { request.id } });
    }
    std::vector<quint64> ended;
    bool merged = false;
    if (!group.effects.empty()) {
        std::lock_guard lock(m_lock);
        // The same group again while it sounds: what the player hears
        // already answers it. Its requests end with their counterparts.
        if (m_effect < m_sounding.effects.size() && m_sounding.head == group.head
            && m_sounding.effects.size() == group.effects.size()) {
            for (std::size_t i = 0; i < group.effects.size(); ++i) {
                std::vector<quint64> &ids = group.effects[i].ids;
                if (i < m_effect)
                    ended.insert(ended.end(), ids.begin(), ids.end());
                else
                    m_sounding.effects[i].ids.insert(m_sounding.effects[i].ids.end(), ids.begin(), ids.end());
            }
            merged = true;
        }
        // The same group again while it waits: it stands for the newer
        // request too, and is late only from then on.
        for (Group &waiting : m_waiting) {
            if (merged)
                break;
            if (waiting.head == group.head && waiting.effects.size() == group.effects.size()) {
                for (std::size_t i = 0; i < group.effects.size(); ++i) {
                    std::vector<quint64> &ids = group.effects[i].ids;
                    waiting.effects[i].ids.insert(waiting.effects[i].ids.end(), ids.begin(), ids.end());
                }
                waiting.due = std::max(waiting.due, group.due);
                merged = true;
            }
        }
        if (!merged)
            m_waiting.push_back(std::move(group));
    }
    if (!ended.empty() || !unplayable.empty())
        report(std::move(ended), std::move(unplayable));
    if (!merged && !requests.empty() && unplayable.size() < requests.size())
        AudioOutput::instance().acquire(AudioOutput::Effects);
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

bool EffectQueue::startNextGroup(qint64 at, std::vector<quint64> &dropped)
{
    while (!m_waiting.empty()) {
        Group group = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (m_resting) {
            m_resting = false;
            m_runStart = at;
        }
        if (at - std::max(group.due, m_runStart) > kLateMsecs) {
            for (const Effect &effect : group.effects)
                dropped.insert(dropped.end(), effect.ids.begin(), effect.ids.end());
            continue;
        }
        m_sounding = std::move(group);
        m_effect = 0;
        m_played = 0;
        return true;
    }
    return false;
}

void EffectQueue::mix(qint16 *samples, int frames)
{
    std::vector<quint64> ended;
    std::vector<quint64> dropped;
    const int wanted = frames * AudioOutput::kChannels;
    int done = 0;
    {
        std::lock_guard lock(m_lock);
        while (done < wanted) {
            if (m_effect >= m_sounding.effects.size() && !startNextGroup(now(), dropped)) {
                m_resting = true;
                break;
            }
            Effect &effect = m_sounding.effects[m_effect];
            const std::size_t left = effect.samples->size() - m_played;
            const std::size_t part = std::min(left, std::size_t(wanted - done));
            AudioOutput::mixInto(samples + done, effect.samples->data() + m_played, int(part));
            m_played += part;
            done += int(part);
            if (m_played == effect.samples->size()) {
                ended.insert(ended.end(), effect.ids.begin(), effect.ids.end());
                ++m_effect;
                m_played = 0;
            }
        }
        if (m_effect >= m_sounding.effects.size() && !m_sounding.effects.empty())
            m_sounding = Group();
    }
    if (done > 0)
        m_lastSoundAt = now();
    if (!ended.empty() || !dropped.empty())
        report(std::move(ended), std::move(dropped));
}

void EffectQueue::report(std::vector<quint64> ended, std::vector<quint64> dropped)
{
    m_unfinished -= int(ended.size() + dropped.size());
    QMetaObject::invokeMethod(
        this,
        [this, ended = std::move(ended), dropped = std::move(dropped)] {
            for (const quint64 id : ended)
                finished(id, true);
            for (const quint64 id : dropped)
                finished(id, false);
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
        for (std::size_t i = m_effect; i < m_sounding.effects.size(); ++i)
            dropped.insert(dropped.end(), m_sounding.effects[i].ids.begin(), m_sounding.effects[i].ids.end());
        for (const Group &group : m_waiting) {
            for (const Effect &effect : group.effects)
                dropped.insert(dropped.end(), effect.ids.begin(), effect.ids.end());
        }
        m_sounding = Group();
        m_effect = 0;
        m_played = 0;
        m_waiting.clear();
    }
    report({}, std::move(dropped));
}

bool EffectQueue::drain(QDeadlineTimer deadline)
{
    closeGroup();
    // What was asked for last is loaded and queued by then, or dropped.
    bool whole = m_loader.runWithin([] {}, std::min(deadline, QDeadlineTimer(kLoadWaitMsecs)));
    std::vector<quint64> dropped;
    {
        std::lock_guard lock(m_lock);
        for (const Group &group : m_waiting) {
            for (const Effect &effect : group.effects)
                dropped.insert(dropped.end(), effect.ids.begin(), effect.ids.end());
        }
        m_waiting.clear();
        // What follows the effect now sounding in its group waits too.
        const std::size_t kept = std::min(m_sounding.effects.size(), m_effect + (m_played > 0 ? 1 : 0));
        for (std::size_t i = kept; i < m_sounding.effects.size(); ++i)
            dropped.insert(dropped.end(), m_sounding.effects[i].ids.begin(), m_sounding.effects[i].ids.end());
        m_sounding.effects.resize(kept);
    }
    if (!dropped.empty())
        report({}, std::move(dropped));
    const auto sounding = [this] {
        std::lock_guard lock(m_lock);
        return m_effect < m_sounding.effects.size();
    };
    while (sounding() && !deadline.hasExpired())
        QThread::msleep(5);
    // The last samples went to SDL in the buffer last filled; let it play.
    const qint64 lastHeard = m_lastSoundAt.load();
    if (lastHeard != 0) {
        const QDeadlineTimer quiet = std::min(deadline,
            QDeadlineTimer(
                lastHeard + AudioOutput::instance().bufferMsecs(AudioOutput::Effects) + 20 - now()));
        while (!quiet.hasExpired())
            QThread::msleep(quint64(std::max<qint64>(quiet.remainingTime(), 1)));
    }
    m_idle.stop();
    whole = !sounding() && whole;
    return m_loader.stopWithin(deadline) && whole;
}
