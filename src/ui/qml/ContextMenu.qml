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

        implicitWidth: 180
        implicitHeight: 26
        opacity: item.enabled ? 1 : 0.45
        contentItem: Text {
            leftPadding: 8
            rightPadding: item.subMenu ? 18 : 8
            text: item.text
            elide: Text.ElideRight
            font.pixelSize: 13
            color: item.highlighted ? "white" : item.destructive ? "#E5484D" : root.neu.textPrimary
            verticalAlignment: Text.AlignVCenter
        }
        arrow: Symbol {
            x: item.width - width - 8
            anchors.verticalCenter: parent.verticalCenter
            visible: item.subMenu !== null
            name: "chevron.right"
            size: 9
            color: item.highlighted ? "white" : root.neu.textSecondary
        }
        background: Rectangle {
            radius: 6
            color: item.highlighted ? (item.destructive ? "#E5484D" : Theme.systemAccent)
                                    : "transparent"
        }
    }
    background: NeuSurface {
        implicitWidth: 180
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
