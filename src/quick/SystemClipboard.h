// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quick/Clipboard.h"

// The desktop clipboard (not the primary selection, which is left alone). On X11 the value
// lives as long as this process does.
class SystemClipboard : public Clipboard
{
public:
    void setText(const QString &value, bool isSecret) override;
    bool holds(const QString &value) const override;
    void clear() override;

    // The MIME part that KDE's clipboard and compatible managers read to skip a secret.
    static QString secretHintFormat() { return QStringLiteral("x-kde-passwordManagerHint"); }
};
