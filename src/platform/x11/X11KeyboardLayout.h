// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/KeyboardLayout.h"

#include <memory>

struct xcb_connection_t;

namespace Hotkeys {

// The X server's current keymap and group; null without the XKB extension.
std::unique_ptr<KeyboardLayout> keyboardLayoutFromX11(xcb_connection_t *connection);

} // namespace Hotkeys
