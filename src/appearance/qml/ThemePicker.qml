// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// One option per appearance choice; the stored one is pressed in and drawn in the accent.
Row {
    id: root

    property var neu: Theme.neu
    property string themeRaw: Theme.themeRaw

    spacing: 12

    Repeater {
        model: Theme.themes

        AbstractButton {
            id: option

            readonly property bool selected: modelData.raw === root.themeRaw
            readonly property color tint: selected ? Theme.systemAccent : root.neu.textPrimary

            width: (root.width - root.spacing * 2) / 3
            implicitHeight: implicitContentHeight + topPadding + bottomPadding
            topPadding: 12
            bottomPadding: 12
            onClicked: Theme.themeRaw = modelData.raw

            contentItem: Column {
                spacing: 6

                Symbol {
                    anchors.horizontalCenter: parent.horizontalCenter
                    name: modelData.symbol
                    size: 18
                    color: option.tint
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: modelData.label
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
