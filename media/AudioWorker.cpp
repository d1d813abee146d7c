#include "AudioWorker.h"

#include "SdlLibrary.h"

#include <chrono>
#include <memory>

AudioWorker::~AudioWorker()
{
    stop();
}

void AudioWorker::loop(quint64 generation)
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [&] { return m_stopping || !m_tasks.empty() || generation != m_generation; });
            if (generation != m_generation)
                return;
            if (m_tasks.empty()) {
                m_running = false;
                m_ended.notify_all();
                return;
            }
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
        // A worker may live until the process ends.
        SdlLibrary::releaseThread();
    }
}

void AudioWorker::post(std::function<void()> task)
{
    std::lock_guard lock(m_lock);
    m_tasks.push_back(std::move(task));
    if (!m_thread.joinable()) {
        m_stopping = false;
        m_running = true;
        m_thread = std::thread([this, generation = ++m_generation] { loop(generation); });
        m_threadId = m_thread.get_id();
    }
    m_wake.notify_all();
}

void AudioWorker::run(const std::function<void()> &task)
{
    runWithin(task, QDeadlineTimer::Forever);
}

bool AudioWorker::runWithin(std::function<void()> task, QDeadlineTimer deadline)
{
    if (isWorkerThread()) {
        task();
        return true;
    }
    // Shared with the task, which may outlive this call when it is late.
    struct Done
    {
        std::mutex lock;
        std::condition_variable changed;
        bool done = false;
    };
    auto state = std::make_shared<Done>();
    post([state, task = std::move(task)] {
        task();
        std::lock_guard lock(state->lock);
        state->done = true;
        state->changed.notify_all();
    });
    std::unique_lock lock(state->lock);
    if (deadline.isForever()) {
        state->changed.wait(lock, [&] { return state->done; });
        return true;
    }
    return state->changed.wait_until(
        lock, deadline.deadline<std::chrono::steady_clock>(), [&] { return state->done; });
}

void AudioWorker::stop()
{
    stopWithin(QDeadlineTimer::Forever);
}

bool AudioWorker::stopWithin(QDeadlineTimer deadline)
{
    std::unique_lock lock(m_lock);
    if (!m_thread.joinable())
        return true;
    if (std::this_thread::get_id() == m_threadId) {
        // From one of its own tasks: it ends once that task returns.
        m_stopping = true;
        m_wake.notify_all();
        m_thread.detach();
        m_threadId = {};
        return true;
    }
    m_stopping = true;
    m_wake.notify_all();
    const bool ended = deadline.isForever()
        ? (m_ended.wait(lock, [this] { return !m_running; }), true)
        : m_ended.wait_until(
            lock, deadline.deadline<std::chrono::steady_clock>(), [this] { return !m_running; });
    std::thread thread = std::move(m_thread);
    m_threadId = {};
    lock.unlock();
    if (ended) {
        thread.join();
        return true;
    }
    // Stuck: it runs on into the process's end.
    thread.detach();
    return false;
}

bool AudioWorker::isWorkerThread()
{
    std::lock_guard lock(m_lock);
    return m_thread.joinable() && std::this_thread::get_id() == m_threadId;
}
