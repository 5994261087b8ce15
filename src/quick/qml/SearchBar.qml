// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Binzo.Ui

// The recessed search field at the top of the panel. Key presses are offered to the host
// (keyPressed) before the field uses them, so arrows and Return drive the list.
NeuSurface {
    id: root

    required property QtObject viewModel
    property var neu: Theme.neu
    readonly property bool fieldFocused: field.activeFocus

    signal keyPressed(var event)

    function focusField() {
        field.forceActiveFocus();
    }

    implicitHeight: 48
    radius: 14
    mode: "pressed"
    shadowRadius: 4
    shadowOffset: 2
    fillColor: neu.base
    darkColor: neu.dark
    lightColor: neu.light

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        spacing: 12

        Symbol {
            name: "magnifyingglass"
            size: 16
            color: root.neu.textPrimary
        }

        TextInput {
            id: field
            Layout.fillWidth: true
            clip: true
            text: root.viewModel.search
            onTextEdited: root.viewModel.search = text
            font.pixelSize: 18
            color: root.neu.textPrimary
            selectionColor: Theme.systemAccent
            selectedTextColor: "white"
            selectByMouse: true
            Keys.priority: Keys.BeforeItem
            Keys.onPressed: event => root.keyPressed(event)

            Text {
                anchors.fill: parent
                visible: field.text === "" && field.preeditText === ""
                text: "Search by meaning…"
                font: field.font
                color: root.neu.textSecondary
                opacity: 0.7
                elide: Text.ElideRight
            }
        }

        Symbol {
            name: "sparkles"
            size: 13
            color: Theme.systemAccent

            MouseArea {
                anchors.fill: parent
                hoverEnabled: true
                ToolTip.visible: containsMouse
                ToolTip.delay: 600
                ToolTip.text: "Smart find is on"
            }
        }

        Symbol {
            visible: root.viewModel.search !== ""
            name: "xmark.circle.fill"
            size: 15
            color: root.neu.textSecondary

            MouseArea {
                anchors.fill: parent
                anchors.margins: -4
                onClicked: {
                    root.viewModel.search = "";
                    field.forceActiveFocus();
                }
            }
        }
    }
}
