// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ColorHex.h"

#include <gtest/gtest.h>

namespace {

struct HexCase
{
    const char16_t *text;
    QRgb expected;
};

TEST(ColorHex, ReadsLeadingDigitsAndKeepsLow24Bits)
{
    const HexCase cases[] = {
        {u"6F8BFF", 0xFF6F8BFF},    {u"#6F8BFF", 0xFF6F8BFF},
        {u"##6F8BFF#", 0xFF6F8BFF}, {u"6f8bff", 0xFF6F8BFF},
        {u"", 0xFF000000},          {u"#", 0xFF000000},
        {u"zz12", 0xFF000000}, // no leading digit
        {u" 6F8BFF", 0xFF000000}, // a space is not skipped
        {u"0x12", 0xFF000000}, // no prefix is understood: "0" then a stop
        {u"12345678", 0xFF345678},  {u"1234567890ABCDEF12", 0xFFCDEF12}, // longer than 64 bits
        {u"FF", 0xFF0000FF},        {u"63#85F4", 0xFF000063}, // a mark inside ends the digits
    };
    for (const HexCase &c : cases) {
        const QColor color = colorFromHex(QStringView(c.text));
        EXPECT_EQ(color.rgba(), c.expected) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(color.alpha(), 255);
    }
}

} // namespace
