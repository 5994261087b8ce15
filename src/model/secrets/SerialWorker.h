// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>

// One thread that runs jobs one at a time in the order they were posted. A job may block for
// as long as it must; nothing waits for it but the jobs behind it. On destruction the jobs not
// yet started are dropped and a job still running is left to finish on its own, so a job must
// own (share) everything it uses.
class SerialWorker
{
public:
    // Given to each job: sleeps up to ms and says whether the job should go on (false once
    // the worker is being destroyed).
    using Pause = std::function<bool(int ms)>;
    using Job = std::function<void(const Pause &pause)>;

    SerialWorker();
    ~SerialWorker();
    SerialWorker(const SerialWorker &) = delete;
    SerialWorker &operator=(const SerialWorker &) = delete;

    void post(Job job);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
