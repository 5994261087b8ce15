// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// What a pasted value looks like and how to file it.
struct Detection
{
    QString kind;
    QString suggestedBinzo;
    QString suggestedLabel;
    bool isSensitive = false;

    friend bool operator==(const Detection &, const Detection &) = default;
};

namespace LocalDetector {

// Recognises a value by an ordered table of anchored patterns, then a shape heuristic for
// random-looking secrets. Pure and cheap enough for every keystroke.
std::optional<Detection> detect(const QString &text);

// The kind with "a" or "an" as it is spoken: "an IBAN", "an Email", "a JWT".
QString withArticle(const QString &kind);

} // namespace LocalDetector
