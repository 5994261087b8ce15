// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui
import Binzo.Views

// The visible entries, or the empty state, with the round add button over the corner.
Item {
    id: root

    required property QtObject viewModel
    property var neu: Theme.neu
    property color accent

    // Room for the rows' shadows above the list, which starts right under the tabs.
    readonly property int bleed: 8

    signal menuClosed

    ListView {
        id: list
        objectName: "entryList"
        anchors.fill: parent
        anchors.topMargin: -root.bleed
        topMargin: root.bleed
        leftMargin: 14
        rightMargin: 14
        bottomMargin: 10
        spacing: 3
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: root.viewModel.visibleEntries
        visible: count > 0

        delegate: EntryRow {
            id: row

            required property int index
            required property var model

            width: ListView.view.width - 28
            neu: root.neu
            accent: Theme.colorFromHex(model.accentHex)
            label: model.label
            displayValue: model.displayValue
            isSensitive: model.isSensitive
            isSelected: model.isSelected
            isRevealed: model.isRevealed
            onCopy: root.viewModel.rowClicked(index)
            onToggleReveal: root.viewModel.toggleReveal(model.entry)
            onContextMenu: (x, y) => {
                menu.entry = model.entry;
                menu.popup(row, x, y);
            }
        }
    }

    CentreOnIndex {
        id: scroller
        view: list
    }
    Connections {
        target: root.viewModel
        function onSelectedEntryChanged() {
            scroller.centre(root.viewModel.selectedEntry);
        }
    }

    EmptyState {
        anchors.fill: parent
        visible: list.count === 0
        neu: root.neu
        symbol: root.viewModel.search === "" ? "tray" : "magnifyingglass"
        text: root.viewModel.search === "" ? "This binzo is empty" : "No matches"
    }

    NeuButton {
        look: "accent"
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 18
        accent: root.accent
        symbol: "plus"
        toolTip: "Add entry to this binzo"
        onClicked: root.viewModel.startNewEntry()
    }

    ContextMenu {
        id: menu
        objectName: "rowMenu"

        property var entry

        neu: root.neu
        onClosed: root.menuClosed()
        MenuAction {
            text: "Copy"
            onTriggered: root.viewModel.copyEntry(menu.entry)
        }
        MenuAction {
            text: "Edit…"
            onTriggered: root.viewModel.startEdit(menu.entry)
        }
        MenuSeparator {
            contentItem: Rectangle {
                implicitHeight: 1
                color: root.neu.dark
            }
        }
        MenuAction {
            text: "Delete"
            destructive: true
            onTriggered: root.viewModel.deleteEntry(menu.entry)
        }
    }
}
