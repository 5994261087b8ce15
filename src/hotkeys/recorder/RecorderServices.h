// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/Shortcut.h"

#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace Hotkeys {

// A warning alert the recorder raises; the answer is the index of the chosen button.
struct RecorderAlert
{
    QString message;
    QString informativeText;
    // Empty: the toolkit's single OK button.
    QStringList buttons;
};

// One of our own menu items with its key equivalent, for the clash check.
struct MenuShortcut
{
    QString title;
    QKeySequence shortcut;
};

// What the recorder needs from the application around it (Registry::setRecorderServices). The
// application gives widget-based implementations at start-up; tests give fakes. Unset members do
// nothing: no beep, alerts answer 0, no menu items, no desktop-listed system shortcuts.
struct RecorderServices
{
    std::function<void()> beep;
    // Modal: returns once the user has answered.
    std::function<int(const RecorderAlert &)> alert;
    std::function<QList<MenuShortcut>()> menuShortcuts;
    // System shortcuts the desktop lists where they are readable; a combination another
    // program has grabbed is found by a trial grab besides.
    std::function<QList<Shortcut>()> systemShortcuts;
};

} // namespace Hotkeys
