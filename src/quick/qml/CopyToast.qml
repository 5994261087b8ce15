// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Binzo.Ui

// The confirmation bubble after a copy, or in its failure form the reason nothing was
// copied. Springs up from the bottom edge while the view model has a toast, and sinks away
// (still showing its last text) when it clears.
Item {
    id: root

    property string toast
    property bool failure
    property var neu: Theme.neu
    readonly property bool shown: toast !== ""
    property string lastText
    property bool lastFailure

    onToastChanged: {
        if (toast !== "") {
            lastText = toast;
            lastFailure = failure;
        }
    }
    onFailureChanged: {
        if (toast !== "")
            lastFailure = failure;
    }

    NeuSurface {
        id: bubble

        anchors.horizontalCenter: parent.horizontalCenter
        width: content.implicitWidth + 32
        height: content.implicitHeight + 20
        y: root.shown ? root.height - 18 - height : root.height
        opacity: root.shown ? 1 : 0
        visible: opacity > 0
        capsule: true
        mode: "accent"
        fillColor: Qt.rgba(root.neu.base.r, root.neu.base.g, root.neu.base.b, 0.86)
        shadowColor: Qt.rgba(0, 0, 0, 0.33)
        shadowRadius: 10
        shadowOffset: 4
        borderColor: Qt.rgba(1, 1, 1, 0.1)
        borderWidth: 1

        // A spring of response 0.32 s and damping 0.82: quick, with a barely visible overshoot.
        Behavior on y {
            NumberAnimation {
                duration: 380
                easing.type: Easing.OutBack
                easing.overshoot: 0.9
            }
        }
        Behavior on opacity {
            NumberAnimation {
                duration: 220
                easing.type: Easing.OutCubic
            }
        }

        Row {
            id: content
            anchors.centerIn: parent
            spacing: 6
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: root.lastFailure ? "xmark.circle.fill" : "checkmark.circle.fill"
                size: 13
                color: root.neu.textPrimary
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: root.lastText
                font.pixelSize: 12
                font.weight: Font.Medium
                color: root.neu.textPrimary
            }
        }
    }
}
