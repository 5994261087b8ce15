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
            Grid {
                columns: 7
                rowSpacing: 8
                Repeater {
                    model: sheet.form.symbols
                    delegate: Item {
                        id: cell
                        required property string modelData
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
                        MouseArea {
                            anchors.fill: parent
                            onClicked: sheet.form.symbol = cell.modelData
                        }
                    }
                }
            }
        }

        ColumnLayout {
            Layout.leftMargin: 20
            spacing: 8
            Caption { text: "Color" }
            Row {
                spacing: 8
                Repeater {
                    model: sheet.form.swatches
                    delegate: Item {
                        id: swatch
                        required property string modelData
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
                        MouseArea {
                            anchors.fill: parent
                            onClicked: sheet.form.colorHex = swatch.modelData
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

    component Caption: Text {
        color: Theme.neu.textSecondary
        font.pixelSize: 11
    }
}
