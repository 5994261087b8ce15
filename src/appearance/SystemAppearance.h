// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "appearance/AppTheme.h"

#include <QObject>

// The operating system's light or dark setting. Tests use a fake; the desktop one asks the
// freedesktop settings portal.
class SystemAppearance : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual Appearance current() const = 0;

signals:
    void changed();
};
