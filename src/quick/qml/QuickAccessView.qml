// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts
import Binzo.Ui
import Binzo.Views

// The whole content of the quick panel: search field, binzo tabs, entry list and key hints,
// plus the copy confirmation and the editor sheets. Every decision is the view model's.
FocusScope {
    id: root

    required property QtObject viewModel
    readonly property var neu: Theme.neu
    readonly property bool sheetOpen: viewModel.showEntryEditor || viewModel.showBinzoEditor
                                      || viewModel.deletingBinzo !== null
    readonly property color accent: viewModel.currentBinzo
                                    ? Theme.colorFromHex(viewModel.currentBinzo.colorHex)
                                    : Theme.systemAccent

    // The panel controller calls this after showing the panel and after resetForShow().
    function focusSearch() {
        searchBar.focusField();
    }

    // A closed menu leaves the keyboard nowhere; an open sheet keeps it.
    function refocusUnlessSheet() {
        if (!root.sheetOpen)
            root.focusSearch();
    }

    function handleKey(event) {
        if (root.sheetOpen)
            return;
        if (event.key === Qt.Key_Escape) {
            root.viewModel.dismiss();
            event.accepted = true;
        } else if (root.viewModel.handleKey(event.key, event.modifiers, event.text,
                                                  event.nativeScanCode)) {
            event.accepted = true;
        }
    }

    width: 460
    height: 520
    focus: true

    // Reached when focus is somewhere other than the search field (after a click on a tab).
    Keys.onPressed: event => {
        if (!searchBar.fieldFocused)
            root.handleKey(event);
    }

    NeuSurface {
        anchors.fill: parent
        radius: 20
        mode: "flat"
        fillColor: root.neu.base
        borderColor: Qt.rgba(root.neu.light.r, root.neu.light.g, root.neu.light.b, 0.6)
        borderWidth: 1
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        SearchBar {
            id: searchBar
            Layout.fillWidth: true
            Layout.topMargin: 18
            Layout.leftMargin: 18
            Layout.rightMargin: 18
            Layout.bottomMargin: 14
            viewModel: root.viewModel
            neu: root.neu
            focus: true
            onKeyPressed: event => root.handleKey(event)
        }

        EmptyState {
            Layout.fillWidth: true
            Layout.fillHeight: true
            visible: !root.viewModel.hasBinzos
            neu: root.neu
            symbol: "square.grid.2x2"
            symbolSize: 38
            text: "No binzos yet"
            textSize: 13
            textWeight: Font.DemiBold
            textColor: root.neu.textPrimary

            NeuButton {
                look: "accent"
                text: "Create your first binzo"
                onClicked: root.viewModel.startNewBinzo()
            }
        }

        BinzoTabBar {
            Layout.fillWidth: true
            Layout.leftMargin: 18
            Layout.rightMargin: 18
            Layout.bottomMargin: 12
            visible: root.viewModel.hasBinzos
            binzos: root.viewModel.binzos
            selectedIndex: root.viewModel.selectedBinzo
            neu: root.neu
            canDelete: root.viewModel.canDeleteBinzo
            canMove: (binzo, step) => root.viewModel.canMoveBinzo(binzo, step)
            onSelect: index => root.viewModel.selectBinzo(index)
            onAdd: root.viewModel.startNewBinzo()
            onEdit: binzo => root.viewModel.startEditBinzo(binzo)
            onMove: (binzo, step) => root.viewModel.moveBinzo(binzo, step)
            onRemove: binzo => root.viewModel.requestDeleteBinzo(binzo)
            onMenuClosed: root.refocusUnlessSheet()
        }

        EntryList {
            Layout.fillWidth: true
            Layout.fillHeight: true
            visible: root.viewModel.hasBinzos
            viewModel: root.viewModel
            neu: root.neu
            accent: root.accent
            onMenuClosed: root.refocusUnlessSheet()
        }

        // Stays while changes wait for the store's retries, so no failed save passes unseen.
        Text {
            Layout.fillWidth: true
            Layout.leftMargin: 18
            Layout.rightMargin: 18
            Layout.bottomMargin: 6
            visible: text !== ""
            text: root.viewModel.saveNotice
            color: "#D64545"
            font.pixelSize: 12
            wrapMode: Text.Wrap
        }

        CommandBar {
            Layout.fillWidth: true
            visible: root.viewModel.hasBinzos
            canCopy: root.viewModel.canCopy
            neu: root.neu
        }
    }

    CopyToast {
        anchors.fill: parent
        toast: root.viewModel.toast
        symbol: root.viewModel.toastSymbol
        canUndo: root.viewModel.canUndo
        neu: root.neu
        onUndo: root.viewModel.undo()
    }

    SheetLoader {
        anchors.fill: parent
        shown: root.viewModel.showEntryEditor
        sheet: "qrc:/qt-project.org/imports/Binzo/Views/qml/EntryEditorSheet.qml"
        viewModel: root.viewModel
        onClosed: root.focusSearch()
    }
    SheetLoader {
        anchors.fill: parent
        shown: root.viewModel.showBinzoEditor
        sheet: "qrc:/qt-project.org/imports/Binzo/Views/qml/BinzoEditorSheet.qml"
        viewModel: root.viewModel
        onClosed: root.focusSearch()
    }
    SheetLoader {
        anchors.fill: parent
        shown: root.viewModel.deletingBinzo !== null
        sheet: "qrc:/qt-project.org/imports/Binzo/Views/qml/DeleteBinzoSheet.qml"
        viewModel: root.viewModel
        onClosed: root.focusSearch()
    }
}
