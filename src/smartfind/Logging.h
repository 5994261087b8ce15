// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// The smartfind subsystem's diagnostics ("binzo.smartfind").
Q_DECLARE_LOGGING_CATEGORY(lcSmartFind)
