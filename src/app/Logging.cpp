// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Logging.h"

Q_LOGGING_CATEGORY(lcApp, "binzo.app")
