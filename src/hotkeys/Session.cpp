// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Hotkeys.h"

#include "hotkeys/Logging.h"

#include <QtGlobal>

namespace Hotkeys {

void prepareSession()
{
    static bool done = false;
    const bool isWayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    if (done || !isWayland)
        return;
    done = true;
    // Wayland lets no client grab keys or place its windows; XWayland allows both for X
    // clients, and its grabs fire while an X window has focus.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    qCWarning(lcHotkeys,
              "in a Wayland session the global shortcut works only while an X11 "
              "application has focus. To open Binzo from anywhere, add a custom "
              "shortcut in your desktop's keyboard settings that runs: binzo "
              "binzo://open");
}

} // namespace Hotkeys
