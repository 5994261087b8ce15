// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo 1.0

// A button filled with the accent's gradient and glowing in it: the round add button and
// the prominent "Create your first binzo".
NeuSurface {
    id: root

    property color accent: Theme.systemAccent
    property string symbol
    property real symbolSize: 16
    property string text
    property string toolTip

    signal clicked

    implicitWidth: root.text ? label.implicitWidth + 32 : 44
    implicitHeight: root.text ? label.implicitHeight + 16 : 44
    capsule: true
    mode: "accent"
    gradient: true
    fillColor: pointer.pressed ? Qt.darker(accent, 1.12) : accent
    shadowColor: Qt.rgba(accent.r, accent.g, accent.b, 0.4)
    shadowRadius: 7
    shadowOffset: 3

    Symbol {
        anchors.centerIn: parent
        visible: root.symbol !== ""
        name: root.symbol
        size: root.symbolSize
        color: "white"
    }
    Text {
        id: label
        anchors.centerIn: parent
        visible: root.text !== ""
        text: root.text
        font.pixelSize: 13
        font.weight: Font.DemiBold
        color: "white"
    }
    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: true
        onClicked: root.clicked()
        ToolTip.visible: root.toolTip !== "" && containsMouse
        ToolTip.delay: 600
        ToolTip.text: root.toolTip
    }
}
