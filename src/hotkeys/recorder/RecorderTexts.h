// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/Shortcut.h"

#include <QString>

namespace Hotkeys {

// The recorder's user-visible texts, by their localisation keys ("record_shortcut",
// "press_shortcut", "keyboard_shortcut_used_by_menu_item" (with %1 for the item's title),
// "keyboard_shortcut_used_by_system", "keyboard_shortcuts_can_be_changed", "ok",
// "force_use_shortcut"). An unknown key reads as itself.
QString recorderText(const char *key);

// Why a shortcut does not work, from the platform's status number of its failed registration:
// "Ctrl+Shift+Space is used by another program."
QString registrationFailureText(const Shortcut &shortcut, int status);

} // namespace Hotkeys
