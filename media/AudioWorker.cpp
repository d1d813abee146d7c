#include "AudioWorker.h"

#include "SdlLibrary.h"

#include <future>

AudioWorker::~AudioWorker()
{
    stop();
}

void AudioWorker::loop()
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(m_lock);
            m_wake.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
            if (m_tasks.empty())
                return;
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
        m_thread = std::thread([this] { loop(); });
        m_threadId = m_thread.get_id();
    }
    m_wake.notify_one();
}

void AudioWorker::run(const std::function<void()> &task)
{
    if (isWorkerThread()) {
        task();
        return;
    }
    std::promise<void> finished;
    post([&] {
        task();
        finished.set_value();
    });
    finished.get_future().wait();
}

void AudioWorker::stop()
{
    {
        std::lock_guard lock(m_lock);
        if (!m_thread.joinable())
            return;
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
    std::lock_guard lock(m_lock);
    m_thread = std::thread();
    m_threadId = {};
}

bool AudioWorker::isWorkerThread()
{
    std::lock_guard lock(m_lock);
    return m_thread.joinable() && std::this_thread::get_id() == m_threadId;
}
