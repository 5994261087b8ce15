// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Binzo.Ui

// A centred symbol over a line of text, with room below for an action.
Item {
    id: root

    property var neu: Theme.neu
    property string symbol
    property real symbolSize: 28
    property string text
    property real textSize: 12
    property int textWeight: Font.Normal
    property color textColor: neu.textSecondary
    default property alias actions: actionSlot.data

    Column {
        anchors.centerIn: parent
        spacing: 12

        Symbol {
            anchors.horizontalCenter: parent.horizontalCenter
            name: root.symbol
            size: root.symbolSize
            color: root.neu.textSecondary
            opacity: 0.55
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.text
            font.pixelSize: root.textSize
            font.weight: root.textWeight
            color: root.textColor
        }
        Item {
            id: actionSlot
            anchors.horizontalCenter: parent.horizontalCenter
            width: childrenRect.width
            height: childrenRect.height
            visible: children.length > 0
        }
    }
}
