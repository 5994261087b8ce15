// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What a pasted value looks like and how to file it: the suggestion the entry form offers.
struct Detection
{
    QString kind;
    QString suggestedBinzo;
    QString suggestedLabel;
    bool isSensitive = false;

    // The kind with "a" or "an" as it is spoken: "an IBAN", "an Email", "a JWT".
    QString kindWithArticle() const;

    friend bool operator==(const Detection &, const Detection &) = default;
};
