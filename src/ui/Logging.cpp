// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Logging.h"

Q_LOGGING_CATEGORY(lcUi, "binzo.ui")
