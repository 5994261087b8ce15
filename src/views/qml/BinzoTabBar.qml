// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// The strip of binzo tabs with the new-binzo button pinned at its end, so it is always in
// reach. The strip scrolls sideways and keeps the selected tab whole in view (brought to the
// middle whenever the host changes the selection); an edge where tabs are hidden fades.
Item {
    id: root

    // A list model with the roles binzo, name, sfSymbol and colorHex.
    property var binzos
    property int selectedIndex
    property var neu: Theme.neu
    property bool canDelete
    // (binzo, step) => whether the binzo can move one tab that way.
    property var canMove: (binzo, step) => false

    signal select(int index)
    signal add
    signal edit(var binzo)
    signal move(var binzo, int step)
    signal remove(var binzo)
    signal menuClosed

    // Shadows reach this far past the strip; the scroll area is widened so they are not cut.
    readonly property int bleed: 12
    // A longer name is elided; the tab's tooltip shows it whole.
    readonly property int maxNameWidth: 150
    readonly property int fadeWidth: 40

    implicitHeight: 6 + 8 + Math.max(11, nameMetrics.height) + 8 + 6

    FontMetrics {
        id: nameMetrics
        font.pointSize: 12.5 * 0.75 // 12.5 px: pixelSize takes whole pixels only
        font.weight: Font.Medium
    }

    onSelectedIndexChanged: scroller.centre(selectedIndex)
    // Shown again, reordered or resized: the selected tab is put back in view at once.
    function revealSelected() {
        scroller.centreNow(selectedIndex);
    }
    onWidthChanged: Qt.callLater(revealSelected)
    onVisibleChanged: Qt.callLater(revealSelected)
    Connections {
        target: root.binzos
        ignoreUnknownSignals: true
        function onModelReset() { Qt.callLater(root.revealSelected) }
    }

    ListView {
        id: strip
        objectName: "tabStrip"
        anchors.left: parent.left
        anchors.right: addButton.left
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.leftMargin: -root.bleed
        anchors.rightMargin: 10 - root.bleed
        anchors.topMargin: -root.bleed + 6
        anchors.bottomMargin: -root.bleed + 6
        leftMargin: root.bleed + 4
        rightMargin: root.bleed + 4
        orientation: ListView.Horizontal
        spacing: 10
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        // Every tab exists at once, so the strip's extent is measured rather than estimated.
        cacheBuffer: 100000
        model: root.binzos
        onCountChanged: Qt.callLater(root.revealSelected)

        // A mouse wheel turns the strip sideways.
        WheelHandler {
            acceptedDevices: PointerDevice.Mouse
            onWheel: event => {
                const delta = event.angleDelta.y !== 0 ? event.angleDelta.y : event.angleDelta.x;
                const first = strip.originX - strip.leftMargin;
                const last = strip.originX + strip.contentWidth + strip.rightMargin - strip.width;
                strip.contentX = Math.max(first, Math.min(last, strip.contentX - delta / 2));
            }
        }

        delegate: Item {
            id: tab

            required property int index
            required property var binzo
            required property string name
            required property string sfSymbol
            required property string colorHex
            readonly property bool selected: index === root.selectedIndex
            readonly property color tint: Theme.colorFromHex(colorHex)

            y: (strip.height - height) / 2
            implicitWidth: 13 + face.implicitWidth + 13
            implicitHeight: 8 + face.implicitHeight + 8

            NeuSurface {
                anchors.fill: parent
                capsule: true
                mode: "raised"
                shadowRadius: 6
                shadowOffset: 3
                fillColor: root.neu.base
                darkColor: root.neu.dark
                lightColor: root.neu.light
                opacity: tab.selected ? 0 : 1
                visible: opacity > 0
                Behavior on opacity { NumberAnimation { duration: 160; easing.type: Easing.OutCubic } }
            }
            NeuSurface {
                anchors.fill: parent
                capsule: true
                mode: "accent"
                gradient: true
                fillColor: Theme.selectionFill(tab.tint)
                shadowColor: Qt.rgba(tab.tint.r, tab.tint.g, tab.tint.b, 0.32)
                shadowRadius: 6
                shadowOffset: 3
                opacity: tab.selected ? 1 : 0
                visible: opacity > 0
                Behavior on opacity { NumberAnimation { duration: 160; easing.type: Easing.OutCubic } }
            }

            Row {
                id: face
                anchors.centerIn: parent
                spacing: 6
                Symbol {
                    anchors.verticalCenter: parent.verticalCenter
                    name: tab.sfSymbol
                    size: 11
                    color: tab.selected ? "white" : tab.tint
                }
                Text {
                    id: nameText
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.min(implicitWidth, root.maxNameWidth)
                    text: tab.name
                    maximumLineCount: 1
                    elide: Text.ElideRight
                    font: nameMetrics.font
                    color: tab.selected ? "white" : root.neu.textPrimary
                    Behavior on color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
                }
            }

            MouseArea {
                id: tabPointer
                anchors.fill: parent
                hoverEnabled: nameText.truncated
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: mouse => {
                    if (mouse.button === Qt.RightButton)
                        menu.openFor(tab, tab.binzo, mouse.x, mouse.y);
                    else
                        root.select(tab.index);
                }
                ToolTip.visible: nameText.truncated && containsMouse
                ToolTip.delay: 600
                ToolTip.text: tab.name
            }
        }
    }

    // Tabs scrolled past an edge fade out there instead of being cut off.
    component EdgeFade: Rectangle {
        property bool leading
        // The part of the width that fades; the rest (over the shadow margin) is opaque.
        property real fadePart: root.fadeWidth / width

        y: strip.y
        height: strip.height
        Behavior on opacity { NumberAnimation { duration: 160; easing.type: Easing.OutCubic } }
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop {
                position: 0
                color: Qt.rgba(root.neu.base.r, root.neu.base.g, root.neu.base.b, leading ? 1 : 0)
            }
            GradientStop {
                position: leading ? 1 - fadePart : fadePart
                color: Qt.rgba(root.neu.base.r, root.neu.base.g, root.neu.base.b, 1)
            }
            GradientStop {
                position: 1
                color: Qt.rgba(root.neu.base.r, root.neu.base.g, root.neu.base.b, leading ? 0 : 1)
            }
        }
    }
    EdgeFade {
        leading: true
        x: strip.x
        width: root.bleed + root.fadeWidth
        opacity: strip.atXBeginning ? 0 : 1
    }
    EdgeFade {
        x: addButton.x - 10 - root.fadeWidth
        width: strip.x + strip.width - x
        opacity: strip.atXEnd ? 0 : 1
    }

    NeuSurface {
        id: addButton
        objectName: "addBinzoButton"
        anchors.right: parent.right
        anchors.rightMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        width: 30
        height: 30
        capsule: true
        mode: "raised"
        shadowRadius: 6
        shadowOffset: 3
        fillColor: root.neu.base
        darkColor: root.neu.dark
        lightColor: root.neu.light

        Symbol {
            anchors.centerIn: parent
            name: "plus"
            size: 12
            color: root.neu.textSecondary
        }
        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            onClicked: root.add()
            ToolTip.visible: containsMouse
            ToolTip.delay: 600
            ToolTip.text: "New binzo"
        }
    }

    CentreOnIndex {
        id: scroller
        view: strip
    }

    ContextMenu {
        id: menu
        objectName: "tabMenu"

        property var binzo
        property bool canMoveLeft
        property bool canMoveRight

        function openFor(item, binzo, x, y) {
            menu.binzo = binzo;
            menu.canMoveLeft = root.canMove(binzo, -1);
            menu.canMoveRight = root.canMove(binzo, +1);
            menu.popup(item, x, y);
        }

        neu: root.neu
        onClosed: root.menuClosed()
        MenuAction {
            text: "Edit…"
            onTriggered: root.edit(menu.binzo)
        }
        MenuAction {
            text: "Move Left"
            enabled: menu.canMoveLeft
            onTriggered: root.move(menu.binzo, -1)
        }
        MenuAction {
            text: "Move Right"
            enabled: menu.canMoveRight
            onTriggered: root.move(menu.binzo, +1)
        }
        MenuSeparator {
            contentItem: Rectangle {
                implicitHeight: 1
                color: root.neu.dark
            }
        }
        MenuAction {
            text: "Delete Binzo…"
            destructive: true
            enabled: root.canDelete
            onTriggered: root.remove(menu.binzo)
        }
    }
}
