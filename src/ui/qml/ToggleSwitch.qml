// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// A switch-style toggle: a pill that fills with the accent and slides its knob when on.
Switch {
    id: control

    focusPolicy: Qt.TabFocus
    padding: 0
    spacing: 0
    implicitWidth: 36
    implicitHeight: 20

    indicator: Rectangle {
        width: 36
        height: 20
        radius: 10
        color: control.checked ? Theme.systemAccent
                               : Qt.rgba(Theme.neu.textPrimary.r, Theme.neu.textPrimary.g, Theme.neu.textPrimary.b, 0.16)
        border.width: control.visualFocus ? 2 : 0
        border.color: Qt.lighter(Theme.systemAccent, 1.3)
        Behavior on color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }

        Rectangle {
            x: control.checked ? parent.width - width - 2 : 2
            anchors.verticalCenter: parent.verticalCenter
            width: 16
            height: 16
            radius: 8
            color: "white"
            Behavior on x { NumberAnimation { duration: 160; easing.type: Easing.OutCubic } }
        }
    }
    contentItem: Item {}
}
