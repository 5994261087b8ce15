// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PanelPlacement.h"

#include <QRectF>

#include <cmath>

std::optional<QPoint> panelOrigin(const QList<ScreenArea> &screens, int primaryIndex,
                                  QPoint pointer, QSize panel)
{
    const ScreenArea *screen = nullptr;
    for (const ScreenArea &candidate : screens) {
        if (candidate.frame.contains(pointer)) {
            screen = &candidate;
            break;
        }
    }
    if (!screen && primaryIndex >= 0 && primaryIndex < screens.size())
        screen = &screens[primaryIndex];
    if (!screen)
        return std::nullopt;
    const QRectF area(screen->available);
    const qreal x = area.center().x() - panel.width() * 0.5;
    const qreal y = area.center().y() - panel.height() * 0.5 - 0.1 * area.height();
    return QPoint(int(std::lround(x)), int(std::lround(y)));
}
