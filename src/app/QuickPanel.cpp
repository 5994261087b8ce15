// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QuickPanel.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QQuickItem>
#include <QStyleHints>

QuickPanel::QuickPanel(QQmlEngine *engine)
    : QQuickView(engine, nullptr)
{
    setTitle(QStringLiteral("Binzo Quick Access"));
    setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
             | Qt::NoDropShadowWindowHint);
    QSurfaceFormat surfaceFormat = format();
    surfaceFormat.setAlphaBufferSize(8);
    setFormat(surfaceFormat);
    setColor(Qt::transparent);
    setResizeMode(QQuickView::SizeRootObjectToView);
    const QSize size = kContentSize.grownBy(kShadowMargins);
    resize(size);
    setMinimumSize(size);
    setMaximumSize(size);

    // The platform window exists from here on, so the first show only maps it.
    create();
}

QRect QuickPanel::contentGeometry() const
{
    return contentRect().translated(position());
}

QRect QuickPanel::contentRect() const
{
    return QRect(QPoint(kShadowMargins.left(), kShadowMargins.top()), m_contentSize);
}

bool QuickPanel::setContentGeometry(const QRect &content)
{
    const bool resized = content.size() != m_contentSize;
    if (resized) {
        m_contentSize = content.size();
        const QSize size = m_contentSize.grownBy(kShadowMargins);
        setMinimumSize(size);
        setMaximumSize(size);
        resize(size);
        if (QQuickItem *root = rootObject())
            root->setProperty("contentRect", QRectF(contentRect()));
    }
    setPosition(content.topLeft() - contentRect().topLeft());
    return resized;
}

void QuickPanel::keyPressEvent(QKeyEvent *event)
{
    QQuickView::keyPressEvent(event);
    if (!event->isAccepted() && event->key() == Qt::Key_Escape) {
        event->accept();
        emit cancelRequested();
    }
}

void QuickPanel::mousePressEvent(QMouseEvent *event)
{
    QQuickView::mousePressEvent(event);
    m_backgroundPress.reset();
    if (event->button() == Qt::LeftButton && !event->exclusiveGrabber(event->point(0)))
        m_backgroundPress = event->globalPosition();
}

void QuickPanel::mouseMoveEvent(QMouseEvent *event)
{
    QQuickView::mouseMoveEvent(event);
    if (!m_backgroundPress || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->globalPosition() - *m_backgroundPress).manhattanLength()
        < QGuiApplication::styleHints()->startDragDistance())
        return;
    m_backgroundPress.reset();
    emit moveStarted();
    startSystemMove();
}
