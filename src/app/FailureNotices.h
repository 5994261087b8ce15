// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/DesktopNotifier.h"

#include <QObject>

#include <functional>

class Preferences;

namespace Hotkeys {
class Registry;
}

// What goes wrong away from any window, told once through the desktop notifier: a global
// shortcut that cannot be registered (at start-up, after recording, after a keyboard change),
// preferences that cannot be used as stored, a runtime folder that is not safe.
class FailureNotices : public QObject
{
    Q_OBJECT
public:
    // Hears of the shortcuts' failures from hotkeys.
    FailureNotices(DesktopNotifier &notifier, const Hotkeys::Registry &hotkeys,
                   std::function<void()> openSettings, QObject *parent = nullptr);

    // Preferences read later, on first use, but checked now so that the report comes at start.
    void checkPreferences(const Preferences &preferences);
    void reportRuntimeFolder(const QString &error);

private:
    DesktopNotifier &m_notifier;
    std::function<void()> m_openSettings;
};
