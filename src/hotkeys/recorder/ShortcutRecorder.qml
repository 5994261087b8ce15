// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui
import Binzo.Hotkeys

// The recorder for one named shortcut: shows the stored combination and records the next one
// while focused. Focus comes only from a click or from keyboard navigation, never from the
// window becoming active; every rule is the RecorderField's.
FocusScope {
    id: recorder

    property alias registry: field.registry
    property alias shortcutName: field.shortcutName
    readonly property var window: Window.window

    implicitWidth: Math.max(130, label.implicitWidth + 52)
    implicitHeight: 26
    // Qt refuses to withdraw it from the focused item (with a warning), and the field is in use
    // then anyway.
    activeFocusOnTab: field.canBecomeKey || activeFocus

    RecorderField {
        id: field
        onBlurRequested: {
            if (recorder.activeFocus)
                recorder.window.contentItem.forceActiveFocus()
            recorder.focus = false
        }
        onFocusRequested: recorder.forceActiveFocus(Qt.OtherFocusReason)
    }

    onActiveFocusChanged: activeFocus ? field.startRecording() : field.endRecording()

    Connections {
        target: recorder.window
        function onActiveChanged() {
            recorder.window.active ? field.windowActivated() : field.windowDeactivated()
        }
    }
    Component.onCompleted: if (window && window.active) field.windowActivated()

    Keys.onShortcutOverride: event => event.accepted = field.isRecording
    Keys.onPressed: event => {
        event.accepted = field.handleKeyEvent(event.key, event.modifiers, event.nativeScanCode)
    }

    // Sees every click in the window while recording, without taking it from its target: a
    // click that ends outside the field ends recording.
    Item {
        parent: recorder.window ? recorder.window.contentItem : null
        anchors.fill: parent
        z: 1000000
        enabled: field.isRecording
        PointHandler {
            id: clicks
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onActiveChanged: {
                if (!active) {
                    const at = recorder.mapFromItem(null, clicks.point.scenePosition)
                    field.handlePointerRelease(at.x, at.y, recorder.width, recorder.height)
                }
            }
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.neu.light
        border.width: recorder.activeFocus ? 2 : 1
        border.color: recorder.activeFocus ? Theme.systemAccent : Theme.neu.dark
        Behavior on border.color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
    }

    MouseArea {
        anchors.fill: parent
        onPressed: recorder.forceActiveFocus(Qt.MouseFocusReason)
    }

    Text {
        id: label
        anchors.centerIn: parent
        width: parent.width - 44
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
        text: field.text !== "" ? field.text : field.placeholder
        color: field.text !== "" ? Theme.neu.textPrimary : Theme.neu.textSecondary
        font.pixelSize: 12
    }

    AbstractButton {
        id: clearButton
        anchors.right: parent.right
        anchors.rightMargin: 5
        anchors.verticalCenter: parent.verticalCenter
        width: 16
        height: 16
        visible: field.clearButtonVisible
        focusPolicy: Qt.NoFocus
        onClicked: field.clear()
        contentItem: Symbol {
            name: "xmark.circle.fill"
            size: 14
            color: clearButton.hovered ? Theme.neu.textPrimary : Theme.neu.textSecondary
        }
    }
}
