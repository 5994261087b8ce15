// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo 1.0

// A dialog button: plain, or prominent (filled with the accent, white text) for the default
// action. Never takes keyboard focus away from the form's fields.
AbstractButton {
    id: button

    property bool prominent: false
    property bool large: false
    property color accent: Theme.systemAccent
    property color textColor: prominent ? "white" : Theme.neu.textPrimary

    focusPolicy: Qt.NoFocus
    implicitWidth: Math.max(large ? 90 : 72, label.implicitWidth + (large ? 36 : 26))
    implicitHeight: large ? 34 : 28
    opacity: enabled ? 1 : 0.45

    contentItem: Text {
        id: label
        text: button.text
        color: button.textColor
        font.pixelSize: button.large ? 14 : 13
        font.weight: button.prominent ? Font.DemiBold : Font.Normal
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    background: Rectangle {
        radius: button.large ? 9 : 7
        color: button.prominent
               ? (button.down ? Qt.darker(button.accent, 1.15) : button.accent)
               : Qt.rgba(Theme.neu.textPrimary.r, Theme.neu.textPrimary.g, Theme.neu.textPrimary.b,
                         button.down ? 0.14 : (button.hovered ? 0.10 : 0.07))
        Behavior on color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
    }
}
