// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// Where the store's dates come from; tests give one they control.
class Clock
{
public:
    virtual ~Clock() = default;
    // In UTC.
    virtual QDateTime now() const = 0;

    // The system's clock.
    static const Clock &system();
};
