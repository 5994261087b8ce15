// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/SerialWorker.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

struct SerialWorker::Shared
{
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> jobs;
    bool stopping = false;
    bool finished = false;
};

namespace {

// How long destruction waits for a running job before leaving it to finish on its own.
constexpr std::chrono::milliseconds kStopWait {200};

} // namespace

SerialWorker::SerialWorker()
    : m_shared(std::make_shared<Shared>())
{
    // The thread shares the state, so it stays valid for a job that outlives the worker.
    std::thread([shared = m_shared] {
        const Pause pause = [shared](int ms) {
            std::unique_lock lock(shared->mutex);
            shared->changed.wait_for(lock, std::chrono::milliseconds(ms),
                                     [&] { return shared->stopping; });
            return !shared->stopping;
        };
        std::unique_lock lock(shared->mutex);
        for (;;) {
            shared->changed.wait(lock, [&] { return shared->stopping || !shared->jobs.empty(); });
            if (shared->stopping)
                break;
            Job job = std::move(shared->jobs.front());
            shared->jobs.pop_front();
            lock.unlock();
            job(pause);
            job = nullptr;
            lock.lock();
        }
        shared->finished = true;
        shared->changed.notify_all();
    }).detach();
}

SerialWorker::~SerialWorker()
{
    std::deque<Job> dropped;
    std::unique_lock lock(m_shared->mutex);
    m_shared->stopping = true;
    dropped.swap(m_shared->jobs);
    m_shared->changed.notify_all();
    m_shared->changed.wait_for(lock, kStopWait, [&] { return m_shared->finished; });
    lock.unlock();
}

void SerialWorker::post(Job job)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->jobs.push_back(std::move(job));
    m_shared->changed.notify_all();
}
