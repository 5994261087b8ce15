// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QSizeF>

// Everything that decides how a soft surface looks. Rendered once per distinct style into an
// image that includes the shadows around the shape, so drawing needs no GPU effect and works
// with the software scene graph.
struct SurfaceStyle
{
    enum class Mode { Flat, Raised, Pressed, Accent };

    QSizeF size;
    qreal devicePixelRatio = 1;
    qreal radius = 0;
    Mode mode = Mode::Raised;
    qreal shadowRadius = 6;
    qreal shadowOffset = 3;
    QColor fillColor;
    QColor darkColor;
    QColor lightColor;
    QColor shadowColor;
    bool gradient = false;
    QColor borderColor;
    qreal borderWidth = 0;

    bool operator==(const SurfaceStyle &) const = default;
};

// How far the image reaches beyond the shape on each side, in logical pixels.
qreal surfaceMargin(const SurfaceStyle &style);
// The surface with its shadows; the shape starts at (margin, margin). Cached by style.
QImage surfaceImage(const SurfaceStyle &style);
