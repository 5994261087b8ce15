// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/records/Entry.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordsTest, MaskedValueCountsGraphemes)
{
    const struct
    {
        QString value;
        QString masked;
    } cases[] = {
        {"abcdefghijklmnopqrstuv", QString(12, QChar(0x2022)) + " stuv"}, // 22 characters
        {"abcdefgh", QString(4, QChar(0x2022)) + " efgh"},
        {"abcdefghij", QString(6, QChar(0x2022)) + " ghij"},
        {"abcdefg", QString(4, QChar(0x2022)) + " defg"},
        {"abc", QString(4, QChar(0x2022)) + " abc"},
        // e + combining acute counts once; a family emoji is one character.
        {QString::fromUtf8("ae\u0301bcde\u0301"),
         QString(4, QChar(0x2022)) + QString::fromUtf8(" bcde\u0301")},
        {QString::fromUtf8("12345678\U0001F468\u200D\U0001F469\u200D\U0001F467"),
         QString(5, QChar(0x2022))
             + QString::fromUtf8(" 678\U0001F468\u200D\U0001F469\u200D\U0001F467")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Entry::maskedValue(c.value), c.masked) << qPrintable(c.value);
}

} // namespace
