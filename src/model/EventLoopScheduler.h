// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TimerScheduler.h"

#include <QObject>

// Single-shot timers of the main event loop. Actions still pending die with the scheduler.
class EventLoopScheduler : public QObject, public TimerScheduler
{
    Q_OBJECT
public:
    using QObject::QObject;

    void schedule(std::chrono::milliseconds delay, std::function<void()> action) override;
};
