// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo 1.0

// The shortcut recorder for one named shortcut (placeholder until the controller lands).
FocusScope {
    id: recorder

    property string shortcutName

    implicitWidth: 130
    implicitHeight: 26

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.neu.light
        border.width: recorder.activeFocus ? 2 : 1
        border.color: recorder.activeFocus ? Theme.systemAccent : Theme.neu.dark
    }
    Text {
        anchors.centerIn: parent
        text: "Record Shortcut"
        color: Theme.neu.textSecondary
        font.pixelSize: 12
    }
}
