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
        // Off every screen (below the left one): the primary screen.
        {{100, 900}, {410, 60}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(panelFrame(kScreens, 0, c.pointer, kPanel), QRect(c.origin, kPanel))
            << c.pointer.x() << "," << c.pointer.y();
    }
    EXPECT_EQ(panelFrame(kScreens, 1, {5000, 5000}, kPanel), QRect({2010, 190}, kPanel));
}

TEST(PanelPlacement, StaysInsideTheAvailableAreaAtAnyScale)
{
    struct Case
    {
        QRect available;
        QRect frame;
    };
    const Case cases[] = {
        // 1366 x 768 at 1.5 (QT_FONT_DPI=144): 910 x 512 with a 20-pixel top bar. The lifted
        // panel would start above the bar, and it is taller than what is left.
        {{0, 20, 910, 492}, {225, 28, 460, 476}},
        // Tall enough, but the lift would cross the bar: it sits just under it.
        {{0, 40, 1000, 560}, {270, 48, 460, 520}},
        // 1280 x 800 at 2: narrower and lower than the panel.
        {{0, 0, 640, 400}, {90, 8, 460, 384}},
        {{0, 0, 400, 300}, {8, 8, 384, 284}},
    };
    for (const Case &c : cases) {
        const QList<ScreenArea> screens
            = {{c.available.adjusted(0, -c.available.top(), 0, 0), c.available}};
        const std::optional<QRect> frame = panelFrame(screens, 0, {1, 1}, kPanel);
        EXPECT_EQ(frame, c.frame) << c.available.width() << "x" << c.available.height();
        EXPECT_TRUE(frame && c.available.contains(*frame));
    }
}

TEST(PanelPlacement, NoScreenLeavesThePanelWhereItIs)
{
    EXPECT_EQ(panelFrame({}, 0, {0, 0}, kPanel), std::nullopt);
    EXPECT_EQ(panelFrame(kScreens, -1, {5000, 5000}, kPanel), std::nullopt);
}

} // namespace
