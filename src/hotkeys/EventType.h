// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Hotkeys {

enum class EventType { keyDown, keyUp };

} // namespace Hotkeys
