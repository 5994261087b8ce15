// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/SurfaceImage.h"

#include <QColor>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

// The soft surface every view stands on (QML: Binzo.Ui NeuSurface). Its shadows are drawn
// outside the item's bounds, from cached pre-blurred images, so it renders the same with the
// software scene graph and with OpenGL, and costs nothing per frame once drawn.
//
// mode:
//   "raised"  fillColor, a darkColor shadow at (+shadowOffset, +shadowOffset) and a lightColor
//             one at (-shadowOffset, -shadowOffset), both blurred by shadowRadius (default)
//   "pressed" the same pair drawn inside the shape (inner shadows)
//   "flat"    fillColor only
//   "accent"  fillColor with one shadowColor shadow shifted shadowOffset downwards; give
//             shadowColor its opacity (Qt.alpha(accent, 0.35)). With gradient: true the fill
//             is the one-colour gradient of fillColor (selected rows, tabs, round buttons).
// radius is the corner radius; capsule: true rounds the short side fully (circles, pills).
// borderColor/borderWidth draw a line just inside the edge (the panel's outline).
class NeuSurface : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY styleChanged)
    Q_PROPERTY(bool capsule READ capsule WRITE setCapsule NOTIFY styleChanged)
    Q_PROPERTY(QString mode READ mode WRITE setMode NOTIFY styleChanged)
    Q_PROPERTY(qreal shadowRadius READ shadowRadius WRITE setShadowRadius NOTIFY styleChanged)
    Q_PROPERTY(qreal shadowOffset READ shadowOffset WRITE setShadowOffset NOTIFY styleChanged)
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor NOTIFY styleChanged)
    Q_PROPERTY(QColor darkColor READ darkColor WRITE setDarkColor NOTIFY styleChanged)
    Q_PROPERTY(QColor lightColor READ lightColor WRITE setLightColor NOTIFY styleChanged)
    Q_PROPERTY(QColor shadowColor READ shadowColor WRITE setShadowColor NOTIFY styleChanged)
    Q_PROPERTY(bool gradient READ gradient WRITE setGradient NOTIFY styleChanged)
    Q_PROPERTY(QColor borderColor READ borderColor WRITE setBorderColor NOTIFY styleChanged)
    Q_PROPERTY(qreal borderWidth READ borderWidth WRITE setBorderWidth NOTIFY styleChanged)
public:
    explicit NeuSurface(QQuickItem *parent = nullptr);

    qreal radius() const { return m_style.radius; }
    void setRadius(qreal radius);
    bool capsule() const { return m_capsule; }
    void setCapsule(bool capsule);
    QString mode() const;
    void setMode(const QString &mode);
    qreal shadowRadius() const { return m_style.shadowRadius; }
    void setShadowRadius(qreal radius);
    qreal shadowOffset() const { return m_style.shadowOffset; }
    void setShadowOffset(qreal offset);
    QColor fillColor() const { return m_style.fillColor; }
    void setFillColor(const QColor &color);
    QColor darkColor() const { return m_style.darkColor; }
    void setDarkColor(const QColor &color);
    QColor lightColor() const { return m_style.lightColor; }
    void setLightColor(const QColor &color);
    QColor shadowColor() const { return m_style.shadowColor; }
    void setShadowColor(const QColor &color);
    bool gradient() const { return m_style.gradient; }
    void setGradient(bool gradient);
    QColor borderColor() const { return m_style.borderColor; }
    void setBorderColor(const QColor &color);
    qreal borderWidth() const { return m_style.borderWidth; }
    void setBorderWidth(qreal width);

signals:
    void styleChanged();

protected:
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    template<typename T> void assign(T &field, const T &value);
    SurfaceStyle currentStyle() const;

    SurfaceStyle m_style;
    bool m_capsule = false;
    SurfaceStyle m_nodeStyle;
};
