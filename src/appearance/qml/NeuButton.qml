// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo 1.0

// A plain button on the small raised surface; it sinks while held.
AbstractButton {
    id: root

    property var neu: Theme.neu

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding
    leftPadding: 16
    rightPadding: 16
    topPadding: 9
    bottomPadding: 9

    contentItem: Text {
        text: root.text
        font.pixelSize: 13
        font.weight: Font.Medium
        color: root.neu.textPrimary
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    background: NeuSurface {
        radius: 12
        mode: root.down ? "pressed" : "raised"
        shadowRadius: root.down ? 4 : 6
        shadowOffset: root.down ? 2 : 3
        fillColor: root.neu.base
        darkColor: root.neu.dark
        lightColor: root.neu.light
    }
}
