// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// The app subsystem's diagnostics ("binzo.app").
Q_DECLARE_LOGGING_CATEGORY(lcApp)
