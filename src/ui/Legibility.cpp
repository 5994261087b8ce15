// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Legibility.h"

#include <algorithm>
#include <cmath>

namespace Legibility {

namespace {

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

bool whiteReads(const QColor &fill)
{
    QColor faintest(Qt::white);
    faintest.setAlphaF(float(kFaintestTextOpacity));
    return contrastRatio(over(faintest, fill), fill) >= kMinimumContrast;
}

} // namespace

double relativeLuminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor over(const QColor &top, const QColor &bottom)
{
    const QColor t = top.toRgb();
    const QColor b = bottom.toRgb();
    const float a = t.alphaF();
    return QColor::fromRgbF(t.redF() * a + b.redF() * (1 - a),
                            t.greenF() * a + b.greenF() * (1 - a),
                            t.blueF() * a + b.blueF() * (1 - a));
}

QColor selectionFill(const QColor &accent)
{
    QColor fill = accent.toRgb();
    fill.setAlphaF(1);
    if (whiteReads(fill))
        return fill;
    // Lightness alone changes: the colour stays recognisably the binzo's.
    const QColor hsl = fill.toHsl();
    for (float lightness = hsl.lightnessF(); lightness > 0; lightness -= 0.005f) {
        fill = QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), std::max(lightness, 0.0f))
                   .toRgb();
        if (whiteReads(fill))
            return fill;
    }
    return QColor(Qt::black);
}

QColor sheenBottom(const QColor &fill)
{
    return fill.darker(110);
}

} // namespace Legibility
