// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// Where sensitive values live: one option per store, the one in use pressed in. Choosing the
// other moves every secret there; the line below tells how that goes.
Column {
    id: root

    required property QtObject settings
    property var neu: Theme.neu

    spacing: 10

    Row {
        id: options
        width: parent.width
        spacing: 12

        Repeater {
            model: root.settings.stores

            AbstractButton {
                id: option

                required property var modelData
                readonly property bool selected: modelData.name === root.settings.storeName
                readonly property color tint: selected ? Theme.systemAccent : root.neu.textPrimary

                width: (options.width - options.spacing) / 2
                implicitHeight: implicitContentHeight + topPadding + bottomPadding
                topPadding: 12
                bottomPadding: 12
                enabled: !root.settings.isMoving
                onClicked: root.settings.moveTo(modelData.name)

                contentItem: Column {
                    spacing: 6
                    Symbol {
                        anchors.horizontalCenter: parent.horizontalCenter
                        name: option.modelData.symbol
                        size: 18
                        color: option.tint
                    }
                    Text {
                        width: parent.width
                        horizontalAlignment: Text.AlignHCenter
                        text: option.modelData.label
                        wrapMode: Text.WordWrap
                        font.pixelSize: 12
                        font.weight: Font.Medium
                        color: option.tint
                    }
                }

                background: NeuSurface {
                    radius: 12
                    mode: option.selected ? "pressed" : "raised"
                    shadowRadius: option.selected ? 4 : 6
                    shadowOffset: option.selected ? 2 : 3
                    fillColor: root.neu.base
                    darkColor: root.neu.dark
                    lightColor: root.neu.light
                }
            }
        }
    }

    Text {
        width: parent.width
        text: root.settings.statusText
        color: root.settings.failed ? "#D64545" : root.neu.textSecondary
        font.pixelSize: 11
        wrapMode: Text.Wrap
    }
}
