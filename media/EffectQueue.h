#pragma once

#include "AudioWorker.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// The short sound effects. Each plays once, after every effect queued
// before it has ended, so they never overlap and keep their order; the
// call returns at once, so the window never waits for one. The queue
// belongs to the process, not to a window: an effect goes on sounding when
// the window that asked for it is replaced, and the exit lets the queue
// sound to its end before the device closes.
class EffectQueue : public QObject
{
    Q_OBJECT
public:
    // The device closes once nothing has sounded for this long.
    static constexpr int kIdleMsecs = 1500;

    static EffectQueue &instance();

    // Queues the wave file. `done` runs on this thread once the effect has
    // sounded to its end, unless `receiver` is gone by then; not at all when
    // the file cannot be played.
    void play(const QString &path, QObject *receiver = nullptr, std::function<void()> done = {});
    // Effects queued and not yet ended.
    int pending() const { return m_unfinished.load(); }
    // Lets what is queued sound to its end (within its own length and a
    // second), then closes the device.
    void drain();

private:
    EffectQueue();

    using Samples = std::shared_ptr<const std::vector<qint16>>;
    struct Sounding
    {
        Samples samples;
        std::size_t played = 0;
        quint64 id = 0;
    };
    struct Loaded
    {
        qint64 size = -1;
        qint64 modified = 0;
        Samples samples;
    };
    struct Callback
    {
        QPointer<QObject> receiver;
        bool hasReceiver = false;
        std::function<void()> done;
    };

    // On the worker.
    Samples load(const QString &path);
    // Without a device nothing queued will sound. On a worker.
    void dropAll();
    // On SDL's audio thread.
    void mix(qint16 *samples, int frames);
    // On this thread.
    void finished(quint64 id, bool sounded);

    // Reads and converts wave files.
    AudioWorker m_loader;
    QTimer m_idle;
    quint64 m_nextId = 0;
    std::map<quint64, Callback> m_callbacks;
    // Counted down where an effect ends or fails, so that drain() can wait
    // for it without an event loop.
    std::atomic<int> m_unfinished { 0 };
    std::atomic<qint64> m_queuedFrames { 0 };
    // When samples last went to the device, on the monotonic clock in ms.
    std::atomic<qint64> m_lastSoundAt { 0 };

    std::mutex m_lock;
    std::deque<Sounding> m_queue;

    // The worker's: wave files read before, by path.
    QHash<QString, Loaded> m_loaded;
};
