// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/Detection.h"

QString Detection::kindWithArticle() const
{
    // By the first sound: vowels, and abbreviations spelled out from a letter whose name
    // starts with a vowel sound ("an SSH key"); "U" sounds like "you" ("a UUID").
    const QString firstWord = kind.section(u' ', 0, 0);
    const QChar first = firstWord.isEmpty() ? QChar() : firstWord.at(0).toUpper();
    const bool spelledOut
        = firstWord.size() > 1 && firstWord == firstWord.toUpper() && firstWord.at(1).isLetter();
    const bool vowelSound = spelledOut ? QStringLiteral("AEFHILMNORSX").contains(first)
                                       : QStringLiteral("AEIO").contains(first);
    return (vowelSound ? QStringLiteral("an ") : QStringLiteral("a ")) + kind;
}
