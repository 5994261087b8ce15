// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo 1.0

// A dialog button: plain, or prominent (filled with the accent, white text) for the default
// action. Reached by Tab (Space presses it), never by a click, so Return stays the default.
AbstractButton {
    id: button

    property bool prominent: false
    // Text only, for secondary actions such as the tour's Back.
    property bool borderless: false
    property bool large: false
    property color accent: Theme.systemAccent
    property color textColor: prominent ? "white" : Theme.neu.textPrimary

    focusPolicy: Qt.TabFocus
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
               : button.borderless ? "transparent"
               : Qt.rgba(Theme.neu.textPrimary.r, Theme.neu.textPrimary.g, Theme.neu.textPrimary.b,
                         button.down ? 0.14 : (button.hovered ? 0.10 : 0.07))
        border.width: button.visualFocus ? 2 : 0
        border.color: Qt.lighter(button.accent, 1.35)
        Behavior on color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
    }
}
