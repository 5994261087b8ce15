// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// The one button of every view, in one of five looks:
//   "plain", "prominent" (filled with the accent, white text, for the default action) and
//   "borderless" (text only, for secondary actions such as the tour's Back): dialog buttons,
//   reached by Tab (Space presses them), never by a click, so Return stays the default;
//   "raised": on the small raised surface, sinking while held;
//   "accent": a capsule filled with the accent's gradient and glowing in it, with a white
//   symbol or text (the round add button, "Create your first binzo"); the pointer only.
AbstractButton {
    id: button

    property string look: "plain"
    property bool large: false
    property color accent: Theme.systemAccent
    property color textColor: look === "prominent" || look === "accent" ? "white"
                                                                        : Theme.neu.textPrimary
    property string symbol
    property real symbolSize: 16
    property string toolTip

    readonly property bool isDialogButton: look === "plain" || look === "prominent"
                                           || look === "borderless"

    focusPolicy: look === "accent" ? Qt.NoFocus : look === "raised" ? Qt.StrongFocus : Qt.TabFocus
    hoverEnabled: true
    leftPadding: look === "raised" ? 16 : 0
    rightPadding: leftPadding
    topPadding: look === "raised" ? 9 : 0
    bottomPadding: topPadding
    implicitWidth: look === "accent" ? (text ? label.implicitWidth + 32 : 44)
                 : look === "raised" ? label.implicitWidth + leftPadding + rightPadding
                 : Math.max(large ? 90 : 72, label.implicitWidth + (large ? 36 : 26))
    implicitHeight: look === "accent" ? (text ? label.implicitHeight + 16 : 44)
                  : look === "raised" ? label.implicitHeight + topPadding + bottomPadding
                  : large ? 34 : 28
    opacity: enabled || !isDialogButton ? 1 : 0.45

    ToolTip.visible: toolTip !== "" && hovered
    ToolTip.delay: 600
    ToolTip.text: toolTip

    contentItem: Item {
        Symbol {
            anchors.centerIn: parent
            visible: button.symbol !== ""
            name: button.symbol
            size: button.symbolSize
            color: button.textColor
        }
        Text {
            id: label
            anchors.centerIn: parent
            visible: button.text !== ""
            text: button.text
            color: button.textColor
            font.pixelSize: button.large ? 14 : 13
            font.weight: button.look === "prominent" || button.look === "accent" ? Font.DemiBold
                       : button.look === "raised" ? Font.Medium : Font.Normal
        }
    }

    background: Loader {
        sourceComponent: button.look === "accent" ? accentSurface
                       : button.look === "raised" ? raisedSurface : dialogBackground
    }

    Component {
        id: dialogBackground
        Rectangle {
            radius: button.large ? 9 : 7
            color: button.look === "prominent"
                   ? (button.down ? Qt.darker(button.accent, 1.15) : button.accent)
                   : button.look === "borderless" ? "transparent"
                   : Qt.rgba(Theme.neu.textPrimary.r, Theme.neu.textPrimary.g,
                             Theme.neu.textPrimary.b,
                             button.down ? 0.14 : (button.hovered ? 0.10 : 0.07))
            border.width: button.visualFocus ? 2 : 0
            border.color: Qt.lighter(button.accent, 1.35)
            Behavior on color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
        }
    }
    Component {
        id: raisedSurface
        NeuSurface {
            radius: 12
            mode: button.down ? "pressed" : "raised"
            shadowRadius: button.down ? 4 : 6
            shadowOffset: button.down ? 2 : 3
            fillColor: Theme.neu.base
            darkColor: Theme.neu.dark
            lightColor: Theme.neu.light
        }
    }
    Component {
        id: accentSurface
        NeuSurface {
            capsule: true
            mode: "accent"
            gradient: true
            fillColor: button.down ? Qt.darker(button.accent, 1.12) : button.accent
            shadowColor: Qt.rgba(button.accent.r, button.accent.g, button.accent.b, 0.4)
            shadowRadius: 7
            shadowOffset: 3
        }
    }
}
