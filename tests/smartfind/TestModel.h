// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The smart-find model for tests: $BINZO_MODEL (so sanitizer builds, which build no model,
// can borrow one), else this build tree's own; empty when there is none.
inline QString testModelPath()
{
    const QString fromEnvironment = qEnvironmentVariable("BINZO_MODEL");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
#ifdef BINZO_TEST_MODEL_PATH
    return QStringLiteral(BINZO_TEST_MODEL_PATH);
#else
    return {};
#endif
}
