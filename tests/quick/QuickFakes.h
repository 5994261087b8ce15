// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quick/Clipboard.h"
#include "quick/TimerScheduler.h"

#include <QList>

#include <algorithm>

struct FakeClipboard : Clipboard
{
    struct Write
    {
        QString value;
        bool isSecret = false;
    };
    QList<Write> writes;

    void setText(const QString &value, bool isSecret) override { writes.append({value, isSecret}); }
};

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

    void advance(std::chrono::milliseconds by)
    {
        now += by;
        std::stable_sort(pending.begin(), pending.end(),
                         [](const Pending &a, const Pending &b) { return a.due < b.due; });
        while (!pending.isEmpty() && pending.first().due <= now)
            pending.takeFirst().action();
    }
};
