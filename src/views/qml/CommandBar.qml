// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts
import Binzo.Ui

// The footer of key hints. Copy and Move only show while there is something to copy.
Item {
    id: root

    property bool canCopy
    property var neu: Theme.neu

    implicitHeight: 40

    component Hint: Row {
        id: hint

        property var caps: []
        property string word

        spacing: 5
        Row {
            anchors.verticalCenter: parent.verticalCenter
            spacing: 3
            Repeater {
                model: hint.caps
                Keycap {
                    neu: root.neu
                    symbol: modelData.symbol || ""
                    text: modelData.text || ""
                }
            }
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: hint.word
            font.pointSize: 11.5 * 0.75 // 11.5 px: pixelSize takes whole pixels only
            color: root.neu.textSecondary
            opacity: 0.8
        }
    }

    // The panel's own surface is the bar's background.
    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 18
        anchors.rightMargin: 18
        spacing: 16

        Hint {
            visible: root.canCopy
            caps: [{symbol: "return"}]
            word: "Copy"
        }
        Hint {
            visible: root.canCopy
            caps: [{symbol: "arrow.up"}, {symbol: "arrow.down"}]
            word: "Move"
        }
        // Ctrl plays the part of Command here, so the cap names it.
        Hint {
            caps: [{text: "Ctrl"}, {text: "N"}]
            word: "New"
        }
        Item {
            Layout.fillWidth: true
        }
        Hint {
            caps: [{text: "esc"}]
            word: "Close"
        }
    }
}
