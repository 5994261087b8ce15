// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Binzo.Ui

// A small raised key cap showing a symbol or, without one, a short text.
Item {
    id: root

    property var neu: Theme.neu
    property string symbol
    property string text

    implicitWidth: Math.max(18, face.implicitWidth) + 10
    implicitHeight: Math.max(18, face.implicitHeight) + 6

    NeuSurface {
        anchors.fill: parent
        radius: 6
        mode: "raised"
        shadowRadius: 2.5
        shadowOffset: 1.5
        fillColor: root.neu.base
        darkColor: root.neu.dark
        lightColor: root.neu.light
    }

    Item {
        id: face
        anchors.centerIn: parent
        implicitWidth: root.symbol ? 11 : label.implicitWidth
        implicitHeight: root.symbol ? 11 : label.implicitHeight

        Symbol {
            anchors.centerIn: parent
            visible: root.symbol !== ""
            name: root.symbol
            size: 11
            color: root.neu.textSecondary
        }
        Text {
            id: label
            anchors.centerIn: parent
            visible: root.symbol === ""
            text: root.text
            font.pixelSize: 11
            font.weight: Font.DemiBold
            color: root.neu.textSecondary
        }
    }
}
