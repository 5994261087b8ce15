// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Binzo.Ui

// The rounded border of a text field, ringed in the accent while it has focus.
Rectangle {
    property bool active: false

    implicitHeight: 30
    radius: 7
    color: Theme.neu.light
    border.width: active ? 2 : 1
    border.color: active ? Theme.systemAccent : Theme.neu.dark
    Behavior on border.color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
}
