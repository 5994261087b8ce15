// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// Contrast of text against its background as WCAG 2 measures it, and the fills that keep the
// white texts of a selected row or tab readable on every binzo colour.
namespace Legibility {

// What WCAG asks of body text.
inline constexpr double kMinimumContrast = 4.5;
// The faintest white drawn on a selection: the value line.
inline constexpr double kFaintestTextOpacity = 0.85;

double relativeLuminance(const QColor &color);
// From 1 (none) to 21 (black on white), whichever colour is lighter.
double contrastRatio(const QColor &a, const QColor &b);
// `top` drawn with its alpha over an opaque `bottom`.
QColor over(const QColor &top, const QColor &bottom);

// The binzo colour itself when white, even at the value line's opacity, reads on it at
// kMinimumContrast; otherwise the same hue and saturation made just dark enough.
QColor selectionFill(const QColor &accent);
// The darker end of the sheen drawn over a selection fill.
QColor sheenBottom(const QColor &fill);

} // namespace Legibility
