// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Hotkeys {

// Gives every recorder of the application the system beep, application-modal warning boxes,
// the tray menu's commands and the desktop's own shortcuts. Call once after the QApplication
// exists.
void installWidgetRecorderServices();

} // namespace Hotkeys
