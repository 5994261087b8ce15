// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Binzo.Ui

// One entry of the quick-access list: icon tile, label, value line (masked by the host's
// view model unless revealed), reveal button for sensitive entries and the Return hint.
// Selection and reveal belong to the host; the row only reports clicks.
Item {
    id: root

    property color accent
    property var neu: Theme.neu
    property string label
    property string displayValue
    property bool isSensitive
    property bool isSelected
    property bool isRevealed
    readonly property bool hovering: pointer.containsMouse || revealPointer.containsMouse

    signal copy
    signal toggleReveal
    signal contextMenu(real x, real y)

    implicitHeight: 9 + Math.max(30, texts.implicitHeight) + 9

    component Fade: NumberAnimation {
        duration: 160
        easing.type: Easing.OutCubic
    }
    component Tint: ColorAnimation {
        duration: 160
        easing.type: Easing.OutCubic
    }

    NeuSurface {
        anchors.fill: parent
        radius: 12
        mode: "raised"
        shadowRadius: 6
        shadowOffset: 3
        fillColor: root.neu.base
        darkColor: root.neu.dark
        lightColor: root.neu.light
        opacity: root.hovering && !root.isSelected ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { Fade {} }
    }
    NeuSurface {
        anchors.fill: parent
        radius: 12
        mode: "accent"
        gradient: true
        // Deep enough for the white texts on it (Legibility).
        fillColor: Theme.selectionFill(root.accent)
        shadowColor: Qt.rgba(root.accent.r, root.accent.g, root.accent.b, 0.35)
        shadowRadius: 7
        shadowOffset: 3
        opacity: root.isSelected ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { Fade {} }
    }

    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: mouse => {
            if (mouse.button === Qt.RightButton)
                root.contextMenu(mouse.x, mouse.y);
            else
                root.copy();
        }
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 9
        anchors.bottomMargin: 9
        spacing: 12

        Rectangle {
            Layout.preferredWidth: 30
            Layout.preferredHeight: 30
            radius: 9
            color: root.isSelected ? Qt.rgba(1, 1, 1, 0.22)
                                   : Qt.rgba(root.accent.r, root.accent.g, root.accent.b, 0.18)
            Behavior on color { Tint {} }

            Symbol {
                anchors.centerIn: parent
                name: root.isSensitive ? "lock.fill" : "doc.on.doc"
                size: 12
                color: root.isSelected ? "white" : root.accent
            }
        }

        ColumnLayout {
            id: texts
            Layout.fillWidth: true
            Layout.minimumWidth: 0
            spacing: 1

            Text {
                Layout.fillWidth: true
                text: root.label
                elide: Text.ElideRight
                maximumLineCount: 1
                font.pointSize: 13.5 * 0.75 // 13.5 px: pixelSize takes whole pixels only
                font.weight: Font.DemiBold
                color: root.isSelected ? "white" : root.neu.textPrimary
                Behavior on color { Tint {} }
            }
            Text {
                Layout.fillWidth: true
                text: root.displayValue
                elide: Text.ElideMiddle
                maximumLineCount: 1
                font.pixelSize: 12
                font.family: root.isSensitive ? "monospace" : Qt.application.font.family
                color: root.isSelected ? Qt.rgba(1, 1, 1, 0.85) : root.neu.textSecondary
                Behavior on color { Tint {} }
            }
        }

        Item {
            Layout.minimumWidth: 8
            Layout.preferredWidth: 8
        }

        // A wider target than the glyph, so the eye is easy to hit.
        Item {
            visible: root.isSensitive
            Layout.preferredWidth: 20
            Layout.preferredHeight: 20
            opacity: root.hovering || root.isSelected ? 1 : 0
            Behavior on opacity { Fade {} }

            Symbol {
                anchors.centerIn: parent
                name: root.isRevealed ? "eye.slash" : "eye"
                size: 12
                color: root.isSelected ? "white" : root.neu.textSecondary
                opacity: root.isSelected ? 0.9 : 1
            }
            MouseArea {
                id: revealPointer
                anchors.fill: parent
                hoverEnabled: true
                onClicked: root.toggleReveal()
                ToolTip.visible: containsMouse
                ToolTip.delay: 600
                ToolTip.text: root.isRevealed ? "Hide" : "Reveal"
            }
        }

        Symbol {
            name: "return"
            size: 11
            color: root.isSelected ? "white" : root.neu.textSecondary
            opacity: root.isSelected ? 0.9 : root.hovering ? 0.5 : 0
            Behavior on opacity { Fade {} }
        }
    }
}
