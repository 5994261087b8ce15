// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SurfaceImage.h"

#include "ui/Legibility.h"

#include <QCache>
#include <QLinearGradient>
#include <QMutex>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr int kCacheBytes = 32 * 1024 * 1024;

// A shadow's blur radius is read as twice the Gaussian's standard deviation.
qreal sigmaFor(qreal blurRadius)
{
    return std::max<qreal>(blurRadius, 0) / 2;
}

std::array<int, 3> boxSizesForGauss(qreal sigma)
{
    const qreal ideal = std::sqrt(12 * sigma * sigma / 3 + 1);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const qreal split
        = (12 * sigma * sigma - 3 * lower * lower - 12 * lower - 9) / (-4.0 * lower - 4);
    const int lowerCount = int(std::lround(split));
    std::array<int, 3> sizes {};
    for (int i = 0; i < 3; ++i)
        sizes[i] = i < lowerCount ? lower : upper;
    return sizes;
}

// One box pass along a line of n samples spaced by step; samples outside repeat the edge.
void boxLine(const uchar *src, uchar *dst, int n, int step, int radius)
{
    const int span = 2 * radius + 1;
    auto at = [&](int i) { return int(src[std::clamp(i, 0, n - 1) * step]); };
    int sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += at(i);
    for (int i = 0; i < n; ++i) {
        dst[i * step] = uchar((sum + span / 2) / span);
        sum += at(i + radius + 1) - at(i - radius);
    }
}

// Three box passes per axis approximate a Gaussian closely enough for soft shadows.
void blurAlpha(QImage &alpha, qreal sigma)
{
    if (sigma < 0.3)
        return;
    const int w = alpha.width();
    const int h = alpha.height();
    QImage scratch(alpha.size(), QImage::Format_Alpha8);
    const int scratchStride = int(scratch.bytesPerLine());
    for (int box : boxSizesForGauss(sigma)) {
        const int radius = (box - 1) / 2;
        if (radius <= 0)
            continue;
        for (int y = 0; y < h; ++y)
            boxLine(alpha.constScanLine(y), scratch.scanLine(y), w, 1, radius);
        for (int x = 0; x < w; ++x)
            boxLine(scratch.constBits() + x, alpha.bits() + x, h, scratchStride, radius);
    }
}

QImage alphaCanvas(QSize size, uchar fill)
{
    QImage image(size, QImage::Format_Alpha8);
    image.fill(QColor(0, 0, 0, fill));
    return image;
}

QImage tinted(const QImage &alpha, const QColor &color)
{
    QImage out(alpha.size(), QImage::Format_ARGB32_Premultiplied);
    const QRgb premultiplied = qPremultiply(color.rgba());
    for (int y = 0; y < alpha.height(); ++y) {
        const uchar *a = alpha.constScanLine(y);
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < alpha.width(); ++x) {
            const uint k = a[x];
            line[x] = qRgba(qRed(premultiplied) * k / 255, qGreen(premultiplied) * k / 255,
                            qBlue(premultiplied) * k / 255, qAlpha(premultiplied) * k / 255);
        }
    }
    return out;
}

QPainterPath shapePath(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    const qreal r = std::min({radius, rect.width() / 2, rect.height() / 2});
    path.addRoundedRect(rect, r, r);
    return path;
}

void paintShape(QImage &canvas, const QPainterPath &path, qreal dpr, QPointF shift,
                QPainter::CompositionMode mode, const QColor &color)
{
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(mode);
    p.scale(dpr, dpr);
    p.translate(shift);
    p.fillPath(path, color);
}

// A blurred copy of the shape (outer shadows) or of everything but the shape (inner shadows),
// in device pixels, on a canvas padded so the blur sees correct surroundings at the edges.
QImage blurredShape(const QSize &deviceSize, const QPainterPath &path, qreal dpr, qreal sigma,
                    int pad, bool inverted)
{
    QImage canvas = alphaCanvas(deviceSize + QSize(2 * pad, 2 * pad), inverted ? 255 : 0);
    paintShape(canvas, path, dpr, QPointF(pad / dpr, pad / dpr), QPainter::CompositionMode_Source,
               inverted ? QColor(0, 0, 0, 0) : QColor(0, 0, 0, 255));
    blurAlpha(canvas, sigma * dpr);
    return canvas;
}

struct Shadow
{
    QColor color;
    QPointF offset;
};

QBrush fillBrush(const SurfaceStyle &style, const QRectF &rect)
{
    if (!style.gradient)
        return style.fillColor;
    // A quiet top-to-bottom sheen derived from the one colour. It only darkens, so white text
    // measured against the colour itself reads everywhere on it.
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, style.fillColor);
    gradient.setColorAt(1, Legibility::sheenBottom(style.fillColor));
    return gradient;
}

QImage render(const SurfaceStyle &style)
{
    const qreal dpr = style.devicePixelRatio;
    const qreal margin = surfaceMargin(style);
    const QSizeF logical(style.size.width() + 2 * margin, style.size.height() + 2 * margin);
    const QSize deviceSize(int(std::ceil(logical.width() * dpr)),
                           int(std::ceil(logical.height() * dpr)));
    const QRectF shapeRect(QPointF(margin, margin), style.size);
    const QPainterPath path = shapePath(shapeRect, style.radius);
    const qreal sigma = sigmaFor(style.shadowRadius);
    const int pad = int(std::ceil((3 * sigma + std::abs(style.shadowOffset)) * dpr)) + 1;

    QImage image(deviceSize, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    auto drawShadows = [&](const QImage &blurred, const QList<Shadow> &shadows) {
        for (const Shadow &shadow : shadows) {
            QImage layer = tinted(blurred, shadow.color);
            layer.setDevicePixelRatio(dpr);
            painter.drawImage(shadow.offset - QPointF(pad / dpr, pad / dpr), layer);
        }
    };

    const qreal o = style.shadowOffset;
    if (style.mode == SurfaceStyle::Mode::Raised) {
        drawShadows(blurredShape(deviceSize, path, dpr, sigma, pad, false),
                    {{style.darkColor, {o, o}}, {style.lightColor, {-o, -o}}});
    } else if (style.mode == SurfaceStyle::Mode::Accent && style.shadowColor.alpha() > 0) {
        drawShadows(blurredShape(deviceSize, path, dpr, sigma, pad, false),
                    {{style.shadowColor, {0, o}}});
    }

    painter.fillPath(path, fillBrush(style, shapeRect));

    if (style.mode == SurfaceStyle::Mode::Pressed) {
        // Inner shadows: what lies outside the shape, blurred, shifted, and kept inside it.
        const QImage outside = blurredShape(deviceSize, path, dpr, sigma, pad, true);
        // A full-size mask: DestinationIn leaves untouched whatever a fillPath does not cover,
        // so a path alone would keep the tint around the shape.
        QImage inside(deviceSize, QImage::Format_ARGB32_Premultiplied);
        inside.fill(Qt::transparent);
        {
            QPainter mp(&inside);
            mp.setRenderHint(QPainter::Antialiasing);
            mp.scale(dpr, dpr);
            mp.fillPath(path, Qt::black);
        }
        for (const Shadow &shadow :
             QList<Shadow> {{style.darkColor, {o, o}}, {style.lightColor, {-o, -o}}}) {
            QImage layer(deviceSize, QImage::Format_ARGB32_Premultiplied);
            layer.fill(Qt::transparent);
            {
                QImage tint = tinted(outside, shadow.color);
                QPainter lp(&layer);
                lp.drawImage(QPointF(shadow.offset.x() * dpr - pad, shadow.offset.y() * dpr - pad),
                             tint);
                lp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
                lp.drawImage(0, 0, inside);
            }
            layer.setDevicePixelRatio(dpr);
            painter.drawImage(QPointF(0, 0), layer);
        }
    }

    if (style.borderWidth > 0 && style.borderColor.alpha() > 0) {
        const qreal half = style.borderWidth / 2;
        painter.setPen(QPen(style.borderColor, style.borderWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(
            shapePath(shapeRect.adjusted(half, half, -half, -half), style.radius - half));
    }
    return image;
}

QByteArray cacheKey(const SurfaceStyle &s)
{
    QByteArray key;
    key.reserve(160);
    auto add = [&](qreal v) { key += QByteArray::number(v, 'g', 6) + ','; };
    auto addColor = [&](const QColor &c) { key += QByteArray::number(c.rgba64(), 16) + ','; };
    add(s.size.width());
    add(s.size.height());
    add(s.devicePixelRatio);
    add(s.radius);
    add(int(s.mode));
    add(s.shadowRadius);
    add(s.shadowOffset);
    addColor(s.fillColor);
    addColor(s.darkColor);
    addColor(s.lightColor);
    addColor(s.shadowColor);
    add(s.gradient);
    addColor(s.borderColor);
    add(s.borderWidth);
    return key;
}

} // namespace

qreal surfaceMargin(const SurfaceStyle &style)
{
    if (style.mode == SurfaceStyle::Mode::Flat || style.mode == SurfaceStyle::Mode::Pressed)
        return 0;
    return std::ceil(3 * sigmaFor(style.shadowRadius) + std::abs(style.shadowOffset)) + 1;
}

QImage surfaceImage(const SurfaceStyle &style)
{
    // Items render on the scene graph's thread with the threaded render loop.
    static QMutex mutex;
    static QCache<QByteArray, QImage> cache(kCacheBytes);
    const QByteArray key = cacheKey(style);
    {
        QMutexLocker lock(&mutex);
        if (const QImage *hit = cache.object(key))
            return *hit;
    }
    QImage image = render(style);
    QMutexLocker lock(&mutex);
    cache.insert(key, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes()));
    return image;
}
