// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// The model subsystem's diagnostics ("binzo.model").
Q_DECLARE_LOGGING_CATEGORY(lcModel)
