// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PanelPlacement.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

std::optional<QRect> panelFrame(const QList<ScreenArea> &screens, int primaryIndex,
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
    const QRect &available = screen->available;
    const QSize size = panel.boundedTo(available.size());
    const QRectF area(available);
    const qreal x = area.center().x() - size.width() * 0.5;
    const qreal y = area.center().y() - size.height() * 0.5 - 0.1 * area.height();
    // Large text or a small screen can push the lifted panel past the top.
    const int left = std::clamp(int(std::lround(x)), available.left(),
                                available.left() + available.width() - size.width());
    const int top = std::clamp(int(std::lround(y)), available.top(),
                               available.top() + available.height() - size.height());
    return QRect(QPoint(left, top), size);
}
