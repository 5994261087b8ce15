// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeTimers.h"
#include "quick/Clipboard.h"

#include <QList>

struct FakeClipboard : Clipboard
{
    struct Write
    {
        QString value;
        bool isSecret = false;
    };
    QList<Write> writes;
    // What the clipboard holds now, and whether this process put it there.
    QString current;
    bool ours = false;

    void setText(const QString &value, bool isSecret) override
    {
        writes.append({value, isSecret});
        current = value;
        ours = true;
    }
    bool holds(const QString &value) const override { return ours && current == value; }
    void clear() override
    {
        current.clear();
        ours = false;
    }
    // The user copies something in another program.
    void copyElsewhere(const QString &value)
    {
        current = value;
        ours = false;
    }
};
