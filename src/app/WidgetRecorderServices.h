// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/recorder/RecorderServices.h"

namespace Hotkeys {

// The system beep, application-modal warning boxes and the tray menu's commands, for every
// recorder of the application. Needs the QApplication.
RecorderServices widgetRecorderServices();

} // namespace Hotkeys
