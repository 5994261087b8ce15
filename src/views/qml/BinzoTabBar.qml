// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// The strip of binzo tabs with the new-binzo button at its end. Scrolls sideways; the
// selected tab is brought to the middle whenever the host changes the selection.
Item {
    id: root

    // A list model with the roles binzo, name, sfSymbol and colorHex.
    property var binzos
    property int selectedIndex
    property var neu: Theme.neu

    signal select(int index)
    signal add
    signal edit(var binzo)
    signal menuClosed

    // Shadows reach this far past the strip; the scroll area is widened so they are not cut.
    readonly property int bleed: 12

    implicitHeight: 6 + 8 + Math.max(11, nameMetrics.height) + 8 + 6

    FontMetrics {
        id: nameMetrics
        font.pointSize: 12.5 * 0.75 // 12.5 px: pixelSize takes whole pixels only
        font.weight: Font.Medium
    }

    onSelectedIndexChanged: scroller.centre(selectedIndex)

    ListView {
        id: strip
        objectName: "tabStrip"
        anchors.fill: parent
        anchors.leftMargin: -root.bleed
        anchors.rightMargin: -root.bleed
        anchors.topMargin: -root.bleed + 6
        anchors.bottomMargin: -root.bleed + 6
        leftMargin: root.bleed + 4
        rightMargin: root.bleed + 4
        orientation: ListView.Horizontal
        spacing: 10
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: root.binzos

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
                fillColor: tab.tint
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
                    anchors.verticalCenter: parent.verticalCenter
                    text: tab.name
                    maximumLineCount: 1
                    font: nameMetrics.font
                    color: tab.selected ? "white" : root.neu.textPrimary
                    Behavior on color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
                }
            }

            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: mouse => {
                    if (mouse.button === Qt.RightButton) {
                        menu.binzo = tab.binzo;
                        menu.popup(tab, mouse.x, mouse.y);
                    } else {
                        root.select(tab.index);
                    }
                }
            }
        }

        footer: Item {
            width: 10 + 30
            height: strip.height

            NeuSurface {
                x: 10
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
                    id: addPointer
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: root.add()
                    ToolTip.visible: containsMouse
                    ToolTip.delay: 600
                    ToolTip.text: "New binzo"
                }
            }
        }
    }

    // Tabs scrolled past an end fade out there instead of being cut off.
    component EdgeFade: Rectangle {
        property bool leading

        y: strip.y
        width: 16
        height: strip.height
        Behavior on opacity { NumberAnimation { duration: 160; easing.type: Easing.OutCubic } }
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop {
                position: 0
                color: Qt.rgba(root.neu.base.r, root.neu.base.g, root.neu.base.b, leading ? 1 : 0)
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
        opacity: strip.atXBeginning ? 0 : 1
    }
    EdgeFade {
        x: strip.x + strip.width - width
        opacity: strip.atXEnd ? 0 : 1
    }

    CentreOnIndex {
        id: scroller
        view: strip
    }

    ContextMenu {
        id: menu
        objectName: "tabMenu"

        property var binzo

        neu: root.neu
        onClosed: root.menuClosed()
        MenuAction {
            text: "Edit…"
            onTriggered: root.edit(menu.binzo)
        }
    }
}
