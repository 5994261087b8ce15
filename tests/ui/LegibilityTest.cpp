// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Legibility.h"
#include "ui/ColorHex.h"
#include "ui/NeuPalette.h"
#include "views/BinzoEditor.h"

#include <gtest/gtest.h>

using namespace Legibility;

namespace {

QColor white(double opacity)
{
    QColor color(Qt::white);
    color.setAlphaF(float(opacity));
    return color;
}

TEST(Legibility, ContrastRatioAsWcagMeasuresIt)
{
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(Qt::white, Qt::white), 1.0, 1e-9);
    // Published reference pairs.
    EXPECT_NEAR(contrastRatio(QColor("#767676"), Qt::white), 4.54, 0.01);
    EXPECT_NEAR(contrastRatio(QColor("#0000FF"), Qt::white), 8.59, 0.01);
}

// Every text of a selected row (and of a selected tab) against both ends of its sheen, for
// every binzo colour, in both palettes; and the row's texts when it is not selected.
TEST(Legibility, EveryTextOfTheRowReadsOnEveryBinzoColourInBothThemes)
{
    const struct
    {
        const char *what;
        double opacity;
    } selectedTexts[] = {{"label", 1.0}, {"value line", 0.85}, {"hints", 0.9}};
    for (const Appearance appearance : {Appearance::Light, Appearance::Dark}) {
        const NeuPalette neu = NeuPalette::forAppearance(appearance);
        EXPECT_GE(contrastRatio(neu.textPrimary, neu.base), kMinimumContrast);
        EXPECT_GE(contrastRatio(neu.textSecondary, neu.base), kMinimumContrast);
        for (const QString &hex : BinzoEditor::swatches()) {
            const QColor fill = selectionFill(colorFromHex(hex));
            for (const QColor &background : {fill, sheenBottom(fill)}) {
                for (const auto &text : selectedTexts) {
                    EXPECT_GE(contrastRatio(over(white(text.opacity), background), background),
                              kMinimumContrast)
                        << qPrintable(hex) << " " << text.what;
                }
            }
        }
    }
}

TEST(Legibility, SelectionKeepsTheBinzoColourWhereItAlreadyReads)
{
    EXPECT_EQ(selectionFill(QColor("#1E3A8A")), QColor("#1E3A8A"));
    // A light colour only darkens: same hue, lower lightness.
    const QColor amber = colorFromHex(u"F4B26B");
    const QColor fill = selectionFill(amber);
    EXPECT_NEAR(fill.hslHueF(), amber.hslHueF(), 0.01);
    EXPECT_LT(fill.lightnessF(), amber.lightnessF());
}

} // namespace
