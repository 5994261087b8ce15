// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/NeuSurface.h"

#include "ui/Logging.h"

#include <QQuickWindow>
#include <QSGImageNode>

#include <algorithm>
#include <array>
#include <utility>

namespace {

using Mode = SurfaceStyle::Mode;

constexpr std::array<std::pair<Mode, const char *>, 4> kModes {{
    {Mode::Raised, "raised"},
    {Mode::Pressed, "pressed"},
    {Mode::Flat, "flat"},
    {Mode::Accent, "accent"},
}};

} // namespace

NeuSurface::NeuSurface(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents);
}

template<typename T> void NeuSurface::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit styleChanged();
    update();
}

void NeuSurface::setRadius(qreal radius)
{
    assign(m_style.radius, radius);
}

void NeuSurface::setCapsule(bool capsule)
{
    assign(m_capsule, capsule);
}

QString NeuSurface::mode() const
{
    for (const auto &[mode, name] : kModes) {
        if (mode == m_style.mode)
            return QString::fromLatin1(name);
    }
    return {};
}

void NeuSurface::setMode(const QString &name)
{
    for (const auto &[mode, modeName] : kModes) {
        if (name == QLatin1String(modeName)) {
            assign(m_style.mode, mode);
            return;
        }
    }
    qCWarning(lcUi, "NeuSurface: unknown mode \"%s\"", qPrintable(name));
}

void NeuSurface::setShadowRadius(qreal radius)
{
    assign(m_style.shadowRadius, radius);
}

void NeuSurface::setShadowOffset(qreal offset)
{
    assign(m_style.shadowOffset, offset);
}

void NeuSurface::setFillColor(const QColor &color)
{
    assign(m_style.fillColor, color);
}

void NeuSurface::setDarkColor(const QColor &color)
{
    assign(m_style.darkColor, color);
}

void NeuSurface::setLightColor(const QColor &color)
{
    assign(m_style.lightColor, color);
}

void NeuSurface::setShadowColor(const QColor &color)
{
    assign(m_style.shadowColor, color);
}

void NeuSurface::setGradient(bool gradient)
{
    assign(m_style.gradient, gradient);
}

void NeuSurface::setBorderColor(const QColor &color)
{
    assign(m_style.borderColor, color);
}

void NeuSurface::setBorderWidth(qreal width)
{
    assign(m_style.borderWidth, width);
}

void NeuSurface::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        update();
}

SurfaceStyle NeuSurface::currentStyle() const
{
    SurfaceStyle style = m_style;
    style.size = size();
    style.devicePixelRatio = window() ? window()->effectiveDevicePixelRatio() : 1;
    if (m_capsule)
        style.radius = std::min(width(), height()) / 2;
    return style;
}

QSGNode *NeuSurface::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    auto *node = static_cast<QSGImageNode *>(oldNode);
    if (width() <= 0 || height() <= 0 || !window()) {
        delete node;
        return nullptr;
    }
    const SurfaceStyle style = currentStyle();
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        node->setFiltering(QSGTexture::Linear);
    }
    if (!node->texture() || !(style == m_nodeStyle)) {
        node->setTexture(window()->createTextureFromImage(surfaceImage(style)));
        m_nodeStyle = style;
    }
    const qreal margin = surfaceMargin(style);
    node->setRect(QRectF(-margin, -margin, width() + 2 * margin, height() + 2 * margin));
    return node;
}
