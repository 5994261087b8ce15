// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

// Stored key codes number the keys of the ANSI keyboard by position; X11 keycodes (evdev + 8)
// are positional too, so one table maps between them. Modifier keys map by role: the Command
// keys are Ctrl, Control is Super, Option is Alt. The Function key has no X11 keycode.
namespace Hotkeys::KeyCodeTable {

std::optional<quint32> x11Keycode(qint64 keyCode);
std::optional<qint64> keyCode(quint32 x11Keycode);

} // namespace Hotkeys::KeyCodeTable
