// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>

// Runs an action later on the main thread. The event loop in the app, a fake clock in tests.
class TimerScheduler
{
public:
    virtual ~TimerScheduler() = default;

    virtual void schedule(std::chrono::milliseconds delay, std::function<void()> action) = 0;
};
