// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Binzo.Ui
import Binzo.Views

// The new/edit binzo sheet: a name, one of fourteen symbols and one of nine swatches.
SheetFrame {
    id: sheet

    required property QtObject viewModel
    readonly property BinzoEditor form: viewModel.binzoEditor(viewModel.editingBinzo, sheet)
    readonly property color chosenColor: Theme.colorFromHex(form.colorHex)

    cardWidth: 340
    Component.onCompleted: nameField.forceActiveFocus()
    onAccepted: form.save()
    onRejected: viewModel.binzoEditorCancelled()

    Connections {
        target: sheet.form
        function onDone() { sheet.viewModel.binzoEditorDone() }
    }

    ColumnLayout {
        width: sheet.cardWidth
        spacing: 16

        Item { Layout.preferredHeight: 4 }

        Text {
            Layout.leftMargin: 20
            text: sheet.form.title
            color: Theme.neu.textPrimary
            font.pixelSize: 17
            font.weight: Font.DemiBold
        }

        FormField {
            id: nameField
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            focus: true
            placeholderText: "Name (e.g. API Keys)"
            text: sheet.form.name
            onTextEdited: sheet.form.name = text
        }

        ColumnLayout {
            Layout.leftMargin: 20
            spacing: 8
            Caption { text: "Icon" }
            // Tab reaches the grid, the arrows move among the cells and Space chooses one.
            GridView {
                id: symbolGrid
                objectName: "symbolGrid"
                implicitWidth: 7 * 36
                implicitHeight: 2 * 32 + 8
                cellWidth: 36
                cellHeight: 40
                interactive: false
                activeFocusOnTab: true
                keyNavigationEnabled: true
                model: sheet.form.symbols
                currentIndex: Math.max(0, sheet.form.symbols.indexOf(sheet.form.symbol))
                Keys.onSpacePressed: sheet.form.symbol = sheet.form.symbols[currentIndex]
                delegate: Item {
                    id: cell
                    required property string modelData
                    required property int index
                    readonly property bool selected: modelData === sheet.form.symbol
                    width: 36
                    height: 32
                    Rectangle {
                        anchors.centerIn: parent
                        width: 32
                        height: 32
                        radius: 8
                        color: cell.selected
                               ? Qt.rgba(sheet.chosenColor.r, sheet.chosenColor.g, sheet.chosenColor.b, 0.20)
                               : Qt.rgba(Theme.neu.textPrimary.r, Theme.neu.textPrimary.g, Theme.neu.textPrimary.b, 0.05)
                        border.width: 1.5
                        border.color: cell.selected ? sheet.chosenColor : "transparent"
                        Behavior on color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
                        Symbol {
                            anchors.centerIn: parent
                            name: cell.modelData
                            size: 16
                            color: Theme.neu.textPrimary
                        }
                    }
                    FocusRing {
                        shown: symbolGrid.activeFocus && symbolGrid.currentIndex === cell.index
                        radius: 10
                        width: 36
                        height: 36
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: {
                            symbolGrid.currentIndex = cell.index;
                            sheet.form.symbol = cell.modelData;
                        }
                    }
                }
            }
        }

        ColumnLayout {
            Layout.leftMargin: 20
            spacing: 8
            Caption { text: "Color" }
            ListView {
                id: swatchRow
                objectName: "swatchRow"
                implicitWidth: contentWidth
                implicitHeight: 24
                orientation: ListView.Horizontal
                spacing: 8
                interactive: false
                activeFocusOnTab: true
                keyNavigationEnabled: true
                model: sheet.form.swatches
                currentIndex: Math.max(0, sheet.form.swatches.indexOf(sheet.form.colorHex))
                Keys.onSpacePressed: sheet.form.colorHex = sheet.form.swatches[currentIndex]
                delegate: Item {
                    id: swatch
                    required property string modelData
                    required property int index
                    readonly property bool selected: modelData === sheet.form.colorHex
                    width: 24
                    height: 24
                    // A pre-blurred shadow ring under the selected swatch.
                    Repeater {
                        model: swatch.selected ? 3 : 0
                        delegate: Rectangle {
                            required property int index
                            anchors.centerIn: parent
                            width: 24 + 2 * (index + 1)
                            height: width
                            radius: width / 2
                            color: "black"
                            opacity: 0.33 / 3 * (1 - index / 3)
                        }
                    }
                    Rectangle {
                        anchors.fill: parent
                        radius: 12
                        color: Theme.colorFromHex(swatch.modelData)
                        border.width: swatch.selected ? 2 : 0
                        border.color: "white"
                    }
                    FocusRing {
                        shown: swatchRow.activeFocus && swatchRow.currentIndex === swatch.index
                        radius: 15
                        width: 30
                        height: 30
                    }
                    MouseArea {
                        anchors.fill: parent
                        onClicked: {
                            swatchRow.currentIndex = swatch.index;
                            sheet.form.colorHex = swatch.modelData;
                        }
                    }
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            spacing: 8
            Item { Layout.fillWidth: true }
            NeuButton {
                text: "Cancel"
                onClicked: sheet.rejected()
            }
            NeuButton {
                text: sheet.form.saveTitle
                look: "prominent"
                enabled: sheet.form.canSave
                onClicked: sheet.form.save()
            }
        }

        Item { Layout.preferredHeight: 4 }
    }

    // Where the keyboard is in a grid or row of choices.
    component FocusRing: Rectangle {
        property bool shown
        anchors.centerIn: parent
        visible: shown
        color: "transparent"
        border.width: 2
        border.color: Theme.systemAccent
    }

    component Caption: Text {
        color: Theme.neu.textSecondary
        font.pixelSize: 11
    }
}
