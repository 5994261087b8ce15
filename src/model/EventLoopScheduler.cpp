// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/EventLoopScheduler.h"

#include <QTimer>

void EventLoopScheduler::schedule(std::chrono::milliseconds delay, std::function<void()> action)
{
    QTimer::singleShot(delay, this, std::move(action));
}
