// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// The confirmation bubble (a copy, a deletion with its Undo, a move). Springs up from the
// bottom edge while the view model has a toast, and sinks away (still showing its last text)
// when it clears.
Item {
    id: root

    property string toast
    property string symbol: "checkmark.circle.fill"
    property bool canUndo
    property var neu: Theme.neu
    readonly property bool shown: toast !== ""
    property string lastText
    property string lastSymbol
    property bool lastCanUndo

    signal undo

    onToastChanged: remember()
    onCanUndoChanged: remember()
    function remember() {
        if (toast === "")
            return;
        lastText = toast;
        lastSymbol = symbol;
        lastCanUndo = canUndo;
    }

    NeuSurface {
        id: bubble

        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(content.implicitWidth + 32, root.width - 36)
        height: content.implicitHeight + 20
        y: root.shown ? root.height - 18 - height : root.height
        opacity: root.shown ? 1 : 0
        visible: opacity > 0
        capsule: true
        mode: "accent"
        // Nearly opaque: an Undo offer stays for seconds over the key hints.
        fillColor: Qt.rgba(root.neu.base.r, root.neu.base.g, root.neu.base.b, 0.97)
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

        // Clicks on the bubble stay on it instead of reaching the row below.
        MouseArea {
            anchors.fill: parent
        }

        Row {
            id: content
            anchors.centerIn: parent
            spacing: 6
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: root.lastSymbol
                size: 13
                color: root.neu.textPrimary
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                width: Math.min(implicitWidth, root.width - 36 - 32 - 19
                                - (undoButton.visible ? undoButton.width + 10 : 0))
                text: root.lastText
                elide: Text.ElideMiddle
                font.pixelSize: 12
                font.weight: Font.Medium
                color: root.neu.textPrimary
            }
            Item {
                visible: root.lastCanUndo
                width: 4
                height: 1
            }
            AbstractButton {
                id: undoButton
                objectName: "undoButton"
                anchors.verticalCenter: parent.verticalCenter
                visible: root.lastCanUndo
                focusPolicy: Qt.NoFocus
                implicitWidth: undoRow.implicitWidth + 14
                implicitHeight: 22
                onClicked: root.undo()
                background: Rectangle {
                    radius: height / 2
                    color: Qt.rgba(Theme.systemAccent.r, Theme.systemAccent.g, Theme.systemAccent.b,
                                   undoButton.down ? 0.30 : undoButton.hovered ? 0.22 : 0.14)
                }
                contentItem: Item {
                    Row {
                        id: undoRow
                        anchors.centerIn: parent
                        spacing: 4
                        Text {
                            text: "Undo"
                            font.pixelSize: 12
                            font.weight: Font.DemiBold
                            color: root.neu.textPrimary
                        }
                        Text {
                            text: "Ctrl+Z"
                            font.pixelSize: 10
                            color: root.neu.textSecondary
                            anchors.baseline: parent.children[0].baseline
                        }
                    }
                }
            }
        }
    }
}
