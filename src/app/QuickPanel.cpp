// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QuickPanel.h"

#include <QKeyEvent>

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
    const QSize size(kContentSize.width() + kShadowMargins.left() + kShadowMargins.right(),
                     kContentSize.height() + kShadowMargins.top() + kShadowMargins.bottom());
    resize(size);
    setMinimumSize(size);
    setMaximumSize(size);

    // The platform window exists from here on, so the first show only maps it.
    create();
}

QRect QuickPanel::contentGeometry() const
{
    return QRect(position() + QPoint(kShadowMargins.left(), kShadowMargins.top()), kContentSize);
}

void QuickPanel::moveContentTo(const QPoint &origin)
{
    setPosition(origin - QPoint(kShadowMargins.left(), kShadowMargins.top()));
}

void QuickPanel::keyPressEvent(QKeyEvent *event)
{
    QQuickView::keyPressEvent(event);
    if (!event->isAccepted() && event->key() == Qt::Key_Escape) {
        event->accept();
        emit cancelRequested();
    }
}
