// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQml.Models
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

    // Said over the five best entries when nothing matched, so Return is no surprise.
    Item {
        id: closestCaption
        width: parent.width
        height: visible ? caption.implicitHeight + 6 : 0
        visible: root.viewModel.showsClosestOnly && list.count > 0

        Text {
            id: caption
            objectName: "closestCaption"
            x: 14 + 12
            text: "No matches — closest entries"
            font.pixelSize: 11
            font.weight: Font.Medium
            color: root.neu.textSecondary
        }
    }

    ListView {
        id: list
        objectName: "entryList"
        anchors.fill: parent
        anchors.topMargin: closestCaption.height - root.bleed
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
            onContextMenu: (x, y) => root.openMenu(row, model.entry, x, y)
        }
    }

    function openMenu(row, entry, x, y) {
        menu.entry = entry;
        menu.targets = root.viewModel.moveTargets(entry);
        menu.popup(row, x, y);
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
        // From the keyboard: under the row's label, with the first item highlighted.
        function onContextMenuRequested(index) {
            const row = list.itemAtIndex(index);
            if (!row)
                return;
            root.openMenu(row, row.model.entry, 54, row.height - 4);
            menu.currentIndex = 0;
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
        property var targets: []

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
        ContextMenu {
            id: moveMenu
            objectName: "moveMenu"
            title: "Move to"
            neu: root.neu
            enabled: menu.targets.length > 0

            Instantiator {
                model: menu.targets
                delegate: MenuAction {
                    required property var modelData
                    text: modelData.name
                    onTriggered: root.viewModel.moveEntry(menu.entry, modelData)
                }
                onObjectAdded: (index, action) => moveMenu.insertAction(index, action)
                onObjectRemoved: (index, action) => moveMenu.removeAction(action)
            }
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
