// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// The ui subsystem's diagnostics ("binzo.ui").
Q_DECLARE_LOGGING_CATEGORY(lcUi)
