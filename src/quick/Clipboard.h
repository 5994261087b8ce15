// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where a copied value goes. The desktop's clipboard in the app, a fake in tests.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    // Clears the clipboard, then leaves the value on it as its one plain-text item. A secret
    // is marked so that clipboard managers honouring the mark keep no record of it.
    virtual void setText(const QString &value, bool isSecret) = 0;
    // True while the clipboard still holds this value as this process put it there, false
    // once anything else (another program, a later copy) has replaced it.
    virtual bool holds(const QString &value) const = 0;
    virtual void clear() = 0;
};
