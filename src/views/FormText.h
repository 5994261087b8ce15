// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Names and labels are trimmed of horizontal whitespace only (tabs and Unicode space
// separators); line breaks count as content, so a pasted "\n" is not an empty label.
QString trimmedWhitespace(const QString &text);

// Compartment names match ignoring letter case under the user's locale.
bool sameBinzoName(const QString &a, const QString &b);
