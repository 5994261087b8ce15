// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// One screen as the placement sees it: its whole frame and the part free of panels and docks.
struct ScreenArea
{
    QRect frame;
    QRect available;
};

// Where the panel's content goes (y downward): centred horizontally in the available area of
// the first screen whose frame holds the pointer (else the primary screen), and lifted by a
// tenth of that area's height above its vertical centre; then kept inside that area, a little
// way from its edges, a panel larger than the area shrinking to it. Absent when there is no
// screen.
std::optional<QRect> panelFrame(const QList<ScreenArea> &screens, int primaryIndex, QPoint pointer,
                                QSize panel);
