// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// The hotkeys subsystem's diagnostics ("binzo.hotkeys").
Q_DECLARE_LOGGING_CATEGORY(lcHotkeys)
