// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Binzo.Ui
import Binzo.Views

// The new/edit entry sheet over the quick-access view; every rule lives in EntryEditor.
SheetFrame {
    id: sheet

    required property QtObject viewModel
    readonly property EntryEditor form: viewModel.entryEditor(viewModel.addTargetBinzo, viewModel.editingEntry, sheet)

    cardWidth: 360
    Component.onCompleted: labelField.forceActiveFocus()
    onAccepted: form.save()
    onRejected: viewModel.entryEditorCancelled()

    Connections {
        target: sheet.form
        function onDone(binzo) { sheet.viewModel.entryEditorDone(binzo) }
    }

    ColumnLayout {
        width: sheet.cardWidth
        spacing: 14

        Item { Layout.preferredHeight: 6 }

        Text {
            Layout.leftMargin: 20
            text: sheet.form.title
            color: Theme.neu.textPrimary
            font.pixelSize: 17
            font.weight: Font.DemiBold
        }

        FormField {
            id: labelField
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            focus: true
            placeholderText: "Label (e.g. HDFC account no.)"
            text: sheet.form.label
            onTextEdited: sheet.form.label = text
        }

        // Sensitive values are typed masked in monospace; others wrap over up to four lines.
        FormField {
            id: secretField
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            visible: sheet.form.isSensitive
            placeholderText: "Value"
            echoMode: TextInput.Password
            font.family: "monospace"
            text: sheet.form.value
            onTextEdited: sheet.form.value = text
            Keys.onPressed: event => secretGuard.keyPressed(event)
            InsertionGuard { id: secretGuard; field: secretField; form: sheet.form }
        }

        ScrollView {
            id: plainScroll
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            Layout.preferredHeight: Math.min(plainField.implicitHeight, plainField.lineHeight * 4 + plainField.topPadding + plainField.bottomPadding)
            visible: !sheet.form.isSensitive

            TextArea {
                id: plainField
                readonly property real lineHeight: fontMetrics.lineSpacing
                placeholderText: "Value"
                wrapMode: TextEdit.Wrap
                color: Theme.neu.textPrimary
                placeholderTextColor: Theme.neu.textSecondary
                font.pixelSize: 13
                selectByMouse: true
                text: sheet.form.value
                onTextChanged: if (text !== sheet.form.value) sheet.form.value = text
                Keys.onReturnPressed: event => { sheet.accepted(); event.accepted = true }
                Keys.onEnterPressed: event => { sheet.accepted(); event.accepted = true }
                Keys.onTabPressed: event => { nextItemInFocusChain().forceActiveFocus(Qt.TabFocusReason); event.accepted = true }
                Keys.onPressed: event => plainGuard.keyPressed(event)
                InsertionGuard { id: plainGuard; field: plainField; form: sheet.form }
                background: FieldBackground { active: plainField.activeFocus }
                FontMetrics { id: fontMetrics; font: plainField.font }
            }
        }

        Text {
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            visible: sheet.form.valueError !== ""
            text: sheet.form.valueError
            color: "#D64545"
            font.pixelSize: 12
            wrapMode: Text.Wrap
        }

        // Editing only: the binzo the entry is filed under; another one moves it on save.
        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            visible: sheet.form.isEditing
            spacing: 10
            Text {
                text: "Binzo"
                color: Theme.neu.textSecondary
                font.pixelSize: 12
            }
            BinzoPicker {
                objectName: "binzoPicker"
                Layout.fillWidth: true
                binzos: sheet.form.binzos
                currentIndex: sheet.form.binzoIndex
                onActivated: index => sheet.form.binzoIndex = index
            }
        }

        SuggestionBanner {
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            visible: sheet.form.hasSuggestion
            title: sheet.form.suggestionTitle
            subtitle: sheet.form.suggestionSubtitle
            // The banner goes away with the button; typing continues in the value.
            onApply: {
                sheet.form.apply()
                const field = sheet.form.isSensitive ? secretField : plainField
                field.forceActiveFocus()
            }
        }

        RowLayout {
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            spacing: 8
            Symbol {
                name: "lock.shield"
                size: 15
                color: Theme.neu.textPrimary
            }
            Text {
                Layout.fillWidth: true
                text: "Sensitive — store in the system keyring & mask"
                color: Theme.neu.textPrimary
                font.pixelSize: 12
                wrapMode: Text.WordWrap
            }
            ToggleSwitch {
                checked: sheet.form.isSensitive
                onToggled: sheet.form.isSensitive = checked
            }
        }

        Text {
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            visible: text !== ""
            text: sheet.form.statusText
            color: Theme.neu.textSecondary
            font.pixelSize: 12
            wrapMode: Text.Wrap
        }

        Text {
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            visible: sheet.form.errorText !== ""
            text: sheet.form.errorText
            color: "#D64545"
            font.pixelSize: 12
            wrapMode: Text.Wrap
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

        Item { Layout.preferredHeight: 6 }
    }

    // Keeps typing in the field that is shown when the sensitivity switches.
    Connections {
        target: sheet.form
        function onIsSensitiveChanged() {
            if (secretField.activeFocus || plainField.activeFocus) {
                const field = sheet.form.isSensitive ? secretField : plainField
                field.forceActiveFocus()
                field.cursorPosition = field.length
            }
        }
    }
}
