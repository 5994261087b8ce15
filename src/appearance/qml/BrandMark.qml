// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Shapes

// The product mark: a 2×2 grid of rounded squares filled with the brand gradient, optionally
// over a soft violet glow.
Item {
    id: mark

    property real size: 56
    property bool glow: false

    implicitWidth: size
    implicitHeight: size

    function roundedSquare(x, y, side, r) {
        return "M" + (x + r) + " " + y + " H" + (x + side - r)
             + " A" + r + " " + r + " 0 0 1 " + (x + side) + " " + (y + r)
             + " V" + (y + side - r)
             + " A" + r + " " + r + " 0 0 1 " + (x + side - r) + " " + (y + side)
             + " H" + (x + r)
             + " A" + r + " " + r + " 0 0 1 " + x + " " + (y + side - r)
             + " V" + (y + r)
             + " A" + r + " " + r + " 0 0 1 " + (x + r) + " " + y + " Z"
    }

    // A pre-blurred glow: stacked translucent squares read as a blur of radius ~16 below the mark.
    Repeater {
        model: mark.glow ? 8 : 0
        delegate: Rectangle {
            required property int index
            readonly property real spread: index * 2.2
            x: -spread + 2
            y: 6 - spread + 2
            width: mark.size - 4 + 2 * spread
            height: mark.size - 4 + 2 * spread
            radius: mark.size * 0.2 + spread
            color: "#9B6BF4"
            opacity: 0.4 / 8 * (1 - index / 9)
        }
    }

    Shape {
        width: 100
        height: 100
        scale: mark.size / 100
        transformOrigin: Item.TopLeft
        antialiasing: true
        layer.enabled: false

        ShapePath {
            strokeWidth: -1
            fillGradient: LinearGradient {
                x1: 0; y1: 0; x2: 100; y2: 100
                GradientStop { position: 0; color: "#6F8BFF" }
                GradientStop { position: 1; color: "#9B6BF4" }
            }
            PathSvg {
                path: mark.roundedSquare(4, 4, 42, 11) + mark.roundedSquare(54, 4, 42, 11)
                      + mark.roundedSquare(4, 54, 42, 11) + mark.roundedSquare(54, 54, 42, 11)
            }
        }
    }
}
