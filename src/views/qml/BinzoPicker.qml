// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// Chooses one binzo of a list: its symbol, colour and name in a field that drops down the
// others. Tab reaches it; Up and Down change it, Space opens the list.
ComboBox {
    id: picker

    // Binzo records in tab order.
    property var binzos: []

    model: binzos
    textRole: "name"
    focusPolicy: Qt.TabFocus
    implicitHeight: 30
    leftPadding: 9
    rightPadding: 26
    font.pixelSize: 13

    component BinzoLabel: Row {
        property var binzo
        property color textColor: Theme.neu.textPrimary

        spacing: 7
        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: parent.binzo ? parent.binzo.sfSymbol : ""
            size: 12
            color: parent.binzo ? Theme.colorFromHex(parent.binzo.colorHex) : "transparent"
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: parent.binzo ? parent.binzo.name : ""
            color: parent.textColor
            font.pixelSize: 13
            elide: Text.ElideRight
        }
    }

    contentItem: Item {
        implicitHeight: 30
        BinzoLabel {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width
            binzo: picker.currentIndex >= 0 ? picker.binzos[picker.currentIndex] : null
        }
    }
    indicator: Symbol {
        x: picker.width - width - 10
        anchors.verticalCenter: parent.verticalCenter
        rotation: 90
        name: "chevron.right"
        size: 10
        color: Theme.neu.textSecondary
    }
    background: FieldBackground {
        active: picker.visualFocus || picker.popup.visible
    }

    delegate: ItemDelegate {
        id: option
        required property var modelData
        required property int index
        width: ListView.view ? ListView.view.width : 0
        implicitHeight: 28
        highlighted: picker.highlightedIndex === index
        contentItem: BinzoLabel {
            binzo: option.modelData
            textColor: option.highlighted ? "white" : Theme.neu.textPrimary
        }
        background: Rectangle {
            radius: 6
            color: option.highlighted ? Theme.systemAccent : "transparent"
        }
    }

    popup: Popup {
        y: picker.height + 4
        width: picker.width
        implicitHeight: Math.min(contentItem.implicitHeight + 10, 200)
        padding: 5
        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: picker.popup.visible ? picker.delegateModel : null
            currentIndex: picker.highlightedIndex
            boundsBehavior: Flickable.StopAtBounds
        }
        background: Rectangle {
            radius: 8
            color: Theme.neu.base
            border.width: 1
            border.color: Theme.neu.dark
        }
    }
}
