// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Logging.h"

Q_LOGGING_CATEGORY(lcHotkeys, "binzo.hotkeys")
