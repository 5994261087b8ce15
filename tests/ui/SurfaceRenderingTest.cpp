// SPDX-License-Identifier: GPL-3.0-or-later
// The surfaces and symbols must draw with the software scene graph: no GPU on most machines
// this runs on, and graphical effects silently vanish there.
#include "../views/QmlSceneFixture.h"

namespace {

const char kScene[] = R"(
import QtQuick
import Binzo.Ui
Rectangle {
    width: 240; height: 160; color: "#808080"
    NeuSurface {
        x: 40; y: 40; width: 80; height: 60; radius: 12
        fillColor: "#808080"; darkColor: "#000000"; lightColor: "#ffffff"
        shadowRadius: 6; shadowOffset: 3
    }
    NeuSurface {
        x: 160; y: 40; width: 60; height: 60; mode: "accent"; capsule: true
        fillColor: "#2040c0"; shadowColor: "#ff0000"; shadowRadius: 4; shadowOffset: 6
    }
    Symbol { x: 10; y: 120; size: 24; name: "plus"; color: "#00ff00" }
}
)";

using SurfaceRendering = QmlSceneFixture;

TEST_F(SurfaceRendering, ShadowsAndSymbolsDrawWhereAndAsTheyShould)
{
    ASSERT_TRUE(show(kScene, QSize(240, 160)));
    const QImage image = m_window.grabWindow().convertToFormat(QImage::Format_RGB32);
    // Raised: the shadows fall outside the shape.
    const int base = qGray(image.pixel(80, 70));
    EXPECT_NEAR(base, 128, 2); // the face is the fill colour
    EXPECT_LT(qGray(image.pixel(123, 75)), base - 10); // dark shadow at lower right
    EXPECT_GT(qGray(image.pixel(38, 65)), base + 10); // light highlight at upper left
    EXPECT_NEAR(qGray(image.pixel(5, 5)), base, 2); // far away nothing is drawn
    // Accent: the shadow falls below, in its colour.
    const QRgb below = image.pixel(190, 103);
    EXPECT_GT(qRed(below), qGreen(below) + 20);
    EXPECT_NEAR(qRed(image.pixel(190, 38)), 128, 3);
    // The symbol is tinted in its colour.
    const QRgb centre = image.pixel(22, 132);
    EXPECT_GT(qGreen(centre), 200);
    EXPECT_LT(qRed(centre), 60);
}

} // namespace
