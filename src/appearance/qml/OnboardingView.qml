// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Binzo.Ui
import Binzo.Hotkeys

// The welcome tour: four pages over a bar of dots, Back and the primary button.
Window {
    id: root

    required property QtObject flow
    required property QtObject hotkeys
    readonly property color tourAccent: "#8A6BF4"
    readonly property int pageOffset: pageArea.width

    title: "Welcome to Binzo"
    width: 540
    height: 440
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height
    // No title bar: window managers draw a close button on any, and the tour cannot be closed.
    // The background moves the window instead.
    flags: Qt.Window | Qt.FramelessWindowHint
    color: Theme.neu.base

    DragHandler {
        target: null
        grabPermissions: PointerHandler.ApprovesTakeOverByAnything
        onActiveChanged: {
            if (active)
                root.startSystemMove();
        }
    }
    // The edge a title bar would have drawn.
    Rectangle {
        anchors.fill: parent
        z: 1
        color: "transparent"
        border.width: 1
        border.color: Theme.neu.dark
    }

    // Return presses the primary button unless a focused control (the recorder) takes it.
    Shortcut {
        sequences: ["Return", "Enter"]
        onActivated: root.flow.advance()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Item {
            id: pageArea
            Layout.fillWidth: true
            Layout.preferredHeight: 360
            clip: true

            Repeater {
                model: [welcomePage, shortcutPage, featuresPage, privacyPage]

                delegate: Item {
                    id: page
                    required property Component modelData
                    required property int index
                    readonly property bool shown: index === root.flow.step

                    width: pageArea.width
                    height: pageArea.height
                    visible: opacity > 0
                    opacity: shown ? 1 : 0
                    x: 0

                    // Pages always arrive from the trailing edge and leave towards the leading
                    // edge, whichever way the tour moves.
                    onShownChanged: shown ? enter.restart() : leave.restart()

                    ParallelAnimation {
                        id: enter
                        NumberAnimation { target: page; property: "x"; from: root.pageOffset; to: 0; duration: 420; easing.type: Easing.OutBack; easing.overshoot: 0.55 }
                        NumberAnimation { target: page; property: "opacity"; from: 0; to: 1; duration: 260 }
                    }
                    ParallelAnimation {
                        id: leave
                        NumberAnimation { target: page; property: "x"; from: 0; to: -root.pageOffset; duration: 420; easing.type: Easing.OutBack; easing.overshoot: 0.55 }
                        NumberAnimation { target: page; property: "opacity"; from: 1; to: 0; duration: 260 }
                    }

                    Loader {
                        anchors.fill: parent
                        anchors.leftMargin: 40
                        anchors.rightMargin: 40
                        sourceComponent: page.modelData
                    }
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 1
            color: Theme.neu.textSecondary
            opacity: 0.4 * 0.35
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            spacing: 10

            Row {
                spacing: 7
                Repeater {
                    model: root.flow.lastStep + 1
                    delegate: Rectangle {
                        required property int index
                        width: 7
                        height: 7
                        radius: 3.5
                        color: index === root.flow.step
                               ? root.tourAccent
                               : Qt.rgba(Theme.neu.textPrimary.r, Theme.neu.textPrimary.g, Theme.neu.textPrimary.b, 0.18)
                        Behavior on color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
                    }
                }
            }

            Item { Layout.fillWidth: true }

            NeuButton {
                visible: root.flow.canGoBack
                text: "Back"
                large: true
                look: "borderless"
                textColor: Theme.neu.textSecondary
                onClicked: root.flow.back()
            }

            NeuButton {
                text: root.flow.primaryTitle
                large: true
                look: "prominent"
                accent: root.tourAccent
                onClicked: root.flow.advance()
            }
        }
    }

    component PageHeader: ColumnLayout {
        property string symbol
        property string title
        Layout.alignment: Qt.AlignHCenter
        spacing: 12
        Symbol {
            Layout.alignment: Qt.AlignHCenter
            name: parent.symbol
            size: 34
            color: root.tourAccent
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: parent.title
            color: Theme.neu.textPrimary
            font.pixelSize: 24
            font.weight: Font.DemiBold
        }
    }

    component BodyText: Text {
        Layout.fillWidth: true
        Layout.alignment: Qt.AlignHCenter
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        color: Theme.neu.textSecondary
        font.pixelSize: 14
        lineHeight: 1.15
    }

    Component {
        id: welcomePage
        ColumnLayout {
            spacing: 16
            Item { Layout.fillHeight: true }
            Item {
                Layout.alignment: Qt.AlignHCenter
                implicitWidth: 64
                implicitHeight: 64
                BrandMark {
                    anchors.centerIn: parent
                    size: 56
                    glow: true
                }
            }
            Text {
                Layout.alignment: Qt.AlignHCenter
                text: "Welcome to Binzo"
                color: Theme.neu.textPrimary
                font.pixelSize: 30
                font.weight: Font.Bold
            }
            BodyText {
                text: "Your phone numbers, API keys, bank details, and snippets — sorted into named compartments and one keystroke away."
                font.pixelSize: 18
            }
            Item { Layout.fillHeight: true }
        }
    }

    Component {
        id: shortcutPage
        ColumnLayout {
            spacing: 16
            Item { Layout.fillHeight: true }
            PageHeader { symbol: "command"; title: "Pick your shortcut" }
            BodyText { text: "Press this from anywhere to summon Binzo. You can change it any time in Settings." }
            Rectangle {
                Layout.alignment: Qt.AlignHCenter
                Layout.fillWidth: true
                Layout.maximumWidth: 360
                implicitHeight: shortcutRow.implicitHeight + 32
                radius: 12
                color: Qt.rgba(Theme.neu.textPrimary.r, Theme.neu.textPrimary.g, Theme.neu.textPrimary.b, 0.05)
                RowLayout {
                    id: shortcutRow
                    anchors.fill: parent
                    anchors.margins: 16
                    Text {
                        text: "Show Binzo"
                        color: Theme.neu.textPrimary
                        font.pixelSize: 14
                        font.weight: Font.DemiBold
                    }
                    Item { Layout.fillWidth: true }
                    ShortcutRecorder { registry: root.hotkeys; shortcutName: "togglePanel" }
                }
            }
            Item { Layout.fillHeight: true }
        }
    }

    Component {
        id: featuresPage
        ColumnLayout {
            spacing: 16
            Item { Layout.fillHeight: true }
            PageHeader { symbol: "bolt.fill"; title: "Find it fast" }
            ColumnLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: 14
                FeatureRow { symbol: "magnifyingglass"; title: "Type to filter"; subtitle: "Search across every binzo at once." }
                FeatureRow { symbol: "arrow.up.arrow.down"; title: "Arrow keys to move"; subtitle: "Then press Return to copy and close." }
                FeatureRow { symbol: "1.square"; title: "Ctrl+1–9 to jump"; subtitle: "Switch between binzos instantly." }
            }
            Item { Layout.fillHeight: true }
        }
    }

    component FeatureRow: RowLayout {
        property string symbol
        property string title
        property string subtitle
        spacing: 10
        Item {
            Layout.preferredWidth: 30
            Layout.preferredHeight: 30
            Symbol {
                anchors.centerIn: parent
                name: parent.parent.symbol
                size: 18
                color: root.tourAccent
            }
        }
        ColumnLayout {
            spacing: 2
            Text {
                text: parent.parent.title
                color: Theme.neu.textPrimary
                font.pixelSize: 14
                font.weight: Font.DemiBold
            }
            Text {
                text: parent.parent.subtitle
                color: Theme.neu.textSecondary
                font.pixelSize: 12
            }
        }
    }

    Component {
        id: privacyPage
        ColumnLayout {
            spacing: 16
            Item { Layout.fillHeight: true }
            PageHeader { symbol: "lock.shield.fill"; title: "Private by design" }
            BodyText { text: "Everything stays on this computer. Sensitive values are stored in the system keyring and masked until you reveal them — nothing is uploaded." }
            Text {
                Layout.alignment: Qt.AlignHCenter
                Layout.topMargin: 4
                text: "You're all set."
                color: Theme.neu.textPrimary
                font.pixelSize: 14
                font.weight: Font.DemiBold
            }
            Item { Layout.fillHeight: true }
        }
    }
}
