// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Logging.h"

Q_LOGGING_CATEGORY(lcModel, "binzo.model")
