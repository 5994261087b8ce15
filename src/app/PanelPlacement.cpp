// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PanelPlacement.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kScreenMargin = 8;

} // namespace

std::optional<QRect> panelFrame(const QList<ScreenArea> &screens, int primaryIndex, QPoint pointer,
                                QSize panel)
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
    // Large text or a small screen can push the lifted panel past an edge: it then keeps a
    // little distance from the edges, shrinking when it must.
    const QRect inside = screen->available.marginsRemoved(
        QMargins(kScreenMargin, kScreenMargin, kScreenMargin, kScreenMargin));
    const QSize size = panel.boundedTo(inside.size());
    const QRectF area(screen->available);
    const qreal x = area.center().x() - size.width() * 0.5;
    const qreal y = area.center().y() - size.height() * 0.5 - 0.1 * area.height();
    const int left = std::clamp(int(std::lround(x)), inside.left(),
                                inside.left() + inside.width() - size.width());
    const int top = std::clamp(int(std::lround(y)), inside.top(),
                               inside.top() + inside.height() - size.height());
    return QRect(QPoint(left, top), size);
}
