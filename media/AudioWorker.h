#pragma once

#include <QDeadlineTimer>
#include <QtGlobal>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// A thread that does the slow parts of sound, so that the window never
// waits for them: loading SDL, opening and closing a device (a sound server
// can take a while; closing waits for SDL's own thread, up to a buffer's
// length), reading and converting wave files. Each device has one, so that
// closing the tune's device never holds up an effect. Tasks run one after
// another in the order they were posted.
class AudioWorker
{
public:
    AudioWorker() = default;
    // Runs what is posted first.
    ~AudioWorker();
    AudioWorker(const AudioWorker &) = delete;
    AudioWorker &operator=(const AudioWorker &) = delete;

    // Runs the task on the worker, started on first use.
    void post(std::function<void()> task);
    // Runs the task on the worker and waits for it.
    void run(const std::function<void()> &task);
    // Runs the task on the worker and waits for it until the deadline;
    // false when the task had not run to its end by then (it still runs).
    bool runWithin(std::function<void()> task, QDeadlineTimer deadline);
    // Runs what is posted, then ends the thread; post() starts it again.
    void stop();
    // The same, waiting no longer than the deadline: a thread stuck in a
    // stalled sound server is let go to end by itself, and false returned.
    // The worker must then outlive the process, as the sound system's do.
    bool stopWithin(QDeadlineTimer deadline);

private:
    void loop(quint64 generation);
    bool isWorkerThread();

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_ended;
    std::deque<std::function<void()>> m_tasks;
    std::thread m_thread;
    std::thread::id m_threadId;
    bool m_stopping = false;
    bool m_running = false;
    // Counts the threads started: one let go while stuck must not take the
    // tasks of the next one when it comes back.
    quint64 m_generation = 0;
};
