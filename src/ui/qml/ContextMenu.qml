// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// A right-click menu drawn on the panel's own surface, for rows and tabs.
Menu {
    id: root

    property var neu: Theme.neu

    padding: 5
    delegate: MenuItem {
        id: item

        // Items whose action destroys something say so in red.
        readonly property bool destructive: item.action && item.action.destructive === true

        implicitWidth: 160
        implicitHeight: 26
        contentItem: Text {
            leftPadding: 8
            text: item.text
            font.pixelSize: 13
            color: item.highlighted ? "white" : item.destructive ? "#E5484D" : root.neu.textPrimary
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 6
            color: item.highlighted ? (item.destructive ? "#E5484D" : Theme.systemAccent)
                                    : "transparent"
        }
    }
    background: NeuSurface {
        implicitWidth: 160
        radius: 10
        mode: "raised"
        shadowRadius: 6
        shadowOffset: 3
        fillColor: root.neu.base
        darkColor: root.neu.dark
        lightColor: root.neu.light
        borderColor: root.neu.dark
        borderWidth: 1
    }
}
