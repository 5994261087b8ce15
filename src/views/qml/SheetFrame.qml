// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Binzo.Ui

// A modal sheet over the panel: dims what is behind it, swallows clicks there, and turns
// Return into accepted and Escape into rejected, so Escape closes the sheet and not the panel.
FocusScope {
    id: frame

    property int cardWidth: 360
    // The corners of what the sheet covers, so the dimming stays inside the panel's shape.
    property real coveredRadius: 20
    default property alias content: card.data

    signal accepted()
    signal rejected()

    anchors.fill: parent
    focus: true

    Keys.onShortcutOverride: event => {
        event.accepted = event.key === Qt.Key_Escape || event.key === Qt.Key_Return
                         || event.key === Qt.Key_Enter
    }
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Escape) {
            frame.rejected()
            event.accepted = true
        } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            frame.accepted()
            event.accepted = true
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: frame.coveredRadius
        color: "black"
        opacity: 0.28
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            onWheel: wheel => wheel.accepted = true
        }
    }

    // Clicks on the card's empty parts must not reach the panel behind it.
    MouseArea {
        anchors.fill: card
    }

    Rectangle {
        id: card
        anchors.centerIn: parent
        width: frame.cardWidth
        height: childrenRect.height
        radius: 14
        color: Theme.neu.base
        border.width: 1
        border.color: Theme.neu.dark
    }
}
