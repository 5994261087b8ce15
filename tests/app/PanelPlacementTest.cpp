// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PanelPlacement.h"

#include <gtest/gtest.h>

namespace {

const QSize kPanel(460, 520);
// Two screens side by side; the right one has a 30-pixel panel at its top.
const QList<ScreenArea> kScreens = {
    {QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 800)},
    {QRect(1280, 0, 1920, 1080), QRect(1280, 30, 1920, 1050)},
};

TEST(PanelPlacement, CentresOnTheScreenUnderThePointerLiftedByATenth)
{
    struct Case
    {
        QPoint pointer;
        QPoint origin;
    };
    const Case cases[] = {
        // 640 - 230 = 410; 400 - 260 - 80 = 60
        {{10, 10}, {410, 60}},
        {{1279, 799}, {410, 60}},
        // 1280 + 960 - 230 = 2010; 30 + 525 - 260 - 105 = 190
        {{1280, 0}, {2010, 190}},
        {{3000, 1000}, {2010, 190}},
        // Off every screen (below the left one): the primary screen.
        {{100, 900}, {410, 60}},
        {{-5, -5}, {410, 60}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(panelOrigin(kScreens, 0, c.pointer, kPanel), c.origin)
            << c.pointer.x() << "," << c.pointer.y();
    }
}

TEST(PanelPlacement, OffScreenPointerUsesThePrimaryScreen)
{
    EXPECT_EQ(panelOrigin(kScreens, 1, {5000, 5000}, kPanel), QPoint(2010, 190));
}

TEST(PanelPlacement, NoScreenLeavesThePanelWhereItIs)
{
    EXPECT_EQ(panelOrigin({}, 0, {0, 0}, kPanel), std::nullopt);
    EXPECT_EQ(panelOrigin(kScreens, -1, {5000, 5000}, kPanel), std::nullopt);
}

} // namespace
