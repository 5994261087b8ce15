// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts
import Binzo.Ui
import Binzo.Views

// Asks before a binzo goes, saying how many entries go with it.
SheetFrame {
    id: sheet

    required property QtObject viewModel

    cardWidth: 320
    onAccepted: viewModel.confirmDeleteBinzo()
    onRejected: viewModel.cancelDeleteBinzo()

    ColumnLayout {
        width: sheet.cardWidth
        spacing: 10

        Item { Layout.preferredHeight: 8 }

        Text {
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            text: sheet.viewModel.deleteBinzoTitle
            color: Theme.neu.textPrimary
            font.pixelSize: 15
            font.weight: Font.DemiBold
            wrapMode: Text.Wrap
        }
        Text {
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            text: sheet.viewModel.deleteBinzoMessage
            color: Theme.neu.textSecondary
            font.pixelSize: 12
            lineHeight: 1.15
            wrapMode: Text.Wrap
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 8
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            spacing: 8
            Item { Layout.fillWidth: true }
            NeuButton {
                text: "Cancel"
                onClicked: sheet.rejected()
            }
            NeuButton {
                objectName: "confirmDeleteBinzo"
                text: "Delete Binzo"
                look: "prominent"
                accent: "#C93C3C" // white on it reads at 5:1
                onClicked: sheet.accepted()
            }
        }

        Item { Layout.preferredHeight: 8 }
    }
}
