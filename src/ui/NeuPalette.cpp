// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/NeuPalette.h"

#include "ui/ColorHex.h"

NeuPalette NeuPalette::forAppearance(Appearance appearance)
{
    if (appearance == Appearance::Dark) {
        return {colorFromHex(u"262A30"), colorFromHex(u"1E2126"), colorFromHex(u"31363D"),
                QColor::fromRgbF(0.96f, 0.96f, 0.96f), QColor::fromRgbF(0.62f, 0.62f, 0.62f)};
    }
    return {colorFromHex(u"F1EEE7"), colorFromHex(u"D7D3C9"), colorFromHex(u"FFFFFF"),
            colorFromHex(u"2B2A27"), colorFromHex(u"6B675F")};
}
