#pragma once

#include "AudioWorker.h"

#include <QDeadlineTimer>
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

// The short sound effects. Each plays once, after the effects queued
// before it, so they never overlap and keep their order; the call returns
// at once, so the window never waits for one.
//
// The effects asked for by one event (a wrong board's D_wrong and D_oohs)
// form a group that sounds as one, each right after the other. Neither
// fast play nor a held key may build a backlog that sounds long after its
// cause: a group asked for again while the same one sounds or waits is
// merged into it, and a group that could only start more than kLateMsecs
// after it was asked for, for waiting on other effects, is dropped. What
// sounds always ends whole.
//
// The queue belongs to the process, not to a window: an effect goes on
// sounding when the window that asked for it is replaced, and the exit
// lets the effect then sounding end before the device closes.
class EffectQueue : public QObject
{
    Q_OBJECT
public:
    // The device closes once nothing has sounded for this long.
    static constexpr int kIdleMsecs = 1500;
    // Later than this after its cause, an effect no longer belongs to it.
    static constexpr int kLateMsecs = 500;

    static EffectQueue &instance();

    // Queues the wave file. `done` runs on this thread once the effect has
    // sounded to its end (or the one it was merged into has), unless
    // `receiver` is gone by then; not at all when it was dropped or the
    // file cannot be played.
    void play(const QString &path, QObject *receiver = nullptr, std::function<void()> done = {});
    // Effects asked for and not yet ended or dropped.
    int pending() const { return m_unfinished.load(); }
    // At exit: the effect now sounding ends whole, what waits is dropped,
    // then the device closes; no longer than the deadline. False when
    // something was still held then.
    bool drain(QDeadlineTimer deadline);

private:
    EffectQueue();

    using Samples = std::shared_ptr<const std::vector<qint16>>;
    struct Effect
    {
        Samples samples;
        // Its own request and those merged into it.
        std::vector<quint64> ids;
    };
    struct Group
    {
        // The first effect's file: what the group is known by.
        QString head;
        std::vector<Effect> effects;
        // When it was asked for, on the monotonic clock in ms.
        qint64 due = 0;
    };
    struct Request
    {
        QString path;
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

    // On this thread: the group of the event being handled goes to the
    // loader once control is back in the event loop.
    void closeGroup();
    // On the worker.
    Samples load(const QString &path);
    void enqueue(const std::vector<Request> &requests, qint64 due);
    // Without a device nothing queued will sound. On a worker.
    void dropAll();
    // On SDL's audio thread.
    void mix(qint16 *samples, int frames);
    // Under m_lock: the next group that is not late, or false.
    bool startNextGroup(qint64 now, std::vector<quint64> &dropped);
    // Any thread: hands ended and dropped requests to this thread.
    void report(std::vector<quint64> ended, std::vector<quint64> dropped);
    // On this thread.
    void finished(quint64 id, bool sounded);

    // Reads and converts wave files.
    AudioWorker m_loader;
    QTimer m_idle;
    quint64 m_nextId = 0;
    std::map<quint64, Callback> m_callbacks;
    std::vector<Request> m_gathering;
    qint64 m_gatheringSince = 0;
    // Counted down where an effect ends or is dropped, so that drain() can
    // wait for it without an event loop.
    std::atomic<int> m_unfinished { 0 };
    // When samples last went to the device, on the monotonic clock in ms.
    std::atomic<qint64> m_lastSoundAt { 0 };

    std::mutex m_lock;
    // The group sounding, its effect now sounding and how far it is.
    Group m_sounding;
    std::size_t m_effect = 0;
    std::size_t m_played = 0;
    std::deque<Group> m_waiting;
    // When the effects began to sound one after another without a pause:
    // an effect can only be late for waiting on others, not on the device.
    qint64 m_runStart = 0;
    bool m_resting = true;

    // The worker's: wave files read before, by path.
    QHash<QString, Loaded> m_loaded;
};
