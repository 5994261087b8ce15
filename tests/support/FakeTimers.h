// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TimerScheduler.h"

#include <QList>

#include <algorithm>

// A clock that moves only when the test says so.
struct FakeTimers : TimerScheduler
{
    struct Pending
    {
        std::chrono::milliseconds due;
        std::function<void()> action;
    };
    std::chrono::milliseconds now {0};
    QList<Pending> pending;

    void schedule(std::chrono::milliseconds delay, std::function<void()> action) override
    {
        pending.append({now + delay, std::move(action)});
    }

    // Runs, in time order, every action due by then, including those scheduled on the way.
    void advance(std::chrono::milliseconds by)
    {
        const std::chrono::milliseconds until = now + by;
        for (;;) {
            std::stable_sort(pending.begin(), pending.end(),
                             [](const Pending &a, const Pending &b) { return a.due < b.due; });
            if (pending.isEmpty() || pending.first().due > until)
                break;
            Pending next = pending.takeFirst();
            now = next.due;
            next.action();
        }
        now = until;
    }
};
