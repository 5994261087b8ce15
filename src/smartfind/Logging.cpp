// SPDX-License-Identifier: GPL-3.0-or-later
#include "smartfind/Logging.h"

Q_LOGGING_CATEGORY(lcSmartFind, "binzo.smartfind")
