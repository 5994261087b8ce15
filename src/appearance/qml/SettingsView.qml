// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Binzo.Ui
import Binzo.Hotkeys

// The settings window: General (appearance, shortcut, tour, where sensitive values live)
// and About.
Window {
    id: root

    required property QtObject controller

    title: "Binzo Settings"
    width: 500
    height: 540
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height
    flags: Qt.Tool | Qt.WindowTitleHint | Qt.WindowCloseButtonHint | Qt.CustomizeWindowHint
    color: Theme.neu.base

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Row {
            id: tabs
            property int currentIndex: 0
            function step(by) {
                const next = Math.max(0, Math.min(1, currentIndex + by));
                currentIndex = next;
                tabButtons.itemAt(next).forceActiveFocus(Qt.TabFocusReason);
            }
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 10
            Layout.bottomMargin: 6
            spacing: 6

            Repeater {
                id: tabButtons
                model: [{ label: "General", symbol: "gearshape" }, { label: "About", symbol: "info.circle" }]
                delegate: AbstractButton {
                    id: tab
                    required property var modelData
                    required property int index
                    readonly property bool current: tabs.currentIndex === index
                    readonly property color tint: current ? Theme.systemAccent : Theme.neu.textSecondary
                    // Tab reaches the tabs, Space picks one and the arrows go to its neighbour.
                    focusPolicy: Qt.TabFocus
                    implicitWidth: 76
                    implicitHeight: 52
                    onClicked: tabs.currentIndex = index
                    Keys.onLeftPressed: tabs.step(-1)
                    Keys.onRightPressed: tabs.step(+1)
                    background: Rectangle {
                        radius: 8
                        color: Qt.rgba(Theme.neu.textPrimary.r, Theme.neu.textPrimary.g, Theme.neu.textPrimary.b,
                                       tab.current ? 0.07 : (tab.hovered ? 0.04 : 0))
                        border.width: tab.visualFocus ? 2 : 0
                        border.color: Theme.systemAccent
                        Behavior on color { ColorAnimation { duration: 160; easing.type: Easing.OutCubic } }
                    }
                    contentItem: Column {
                        spacing: 3
                        Symbol {
                            anchors.horizontalCenter: parent.horizontalCenter
                            name: tab.modelData.symbol
                            size: 20
                            color: tab.tint
                        }
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: tab.modelData.label
                            color: tab.tint
                            font.pixelSize: 12
                            font.weight: Font.Medium
                        }
                    }
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 1
            color: Theme.neu.dark
        }

        StackLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            currentIndex: tabs.currentIndex

            ScrollView {
                id: general
                contentWidth: availableWidth
                clip: true

                ColumnLayout {
                    width: general.availableWidth
                    spacing: 18

                    Item { Layout.preferredHeight: 2 }

                    NeuCard {
                        Layout.fillWidth: true
                        Layout.leftMargin: 20
                        Layout.rightMargin: 20
                        title: "Appearance"
                        ThemePicker { width: parent.width }
                    }

                    NeuCard {
                        Layout.fillWidth: true
                        Layout.leftMargin: 20
                        Layout.rightMargin: 20
                        title: "Quick Access"

                        ColumnLayout {
                            width: parent.width
                            spacing: 10
                            RowLayout {
                                Layout.fillWidth: true
                                Text {
                                    text: "Show panel"
                                    color: Theme.neu.textPrimary
                                    font.pixelSize: 13
                                }
                                Item { Layout.fillWidth: true }
                                ShortcutRecorder { registry: root.controller.hotkeys; shortcutName: "togglePanel" }
                            }
                            Text {
                                Layout.fillWidth: true
                                text: root.controller.shortcutCaption
                                color: root.controller.shortcutFails ? "#D64545" : Theme.neu.textSecondary
                                font.pixelSize: 11
                                wrapMode: Text.Wrap
                            }
                            NeuButton {
                                look: "raised"
                                Layout.topMargin: 4
                                text: "Replay welcome tour"
                                onClicked: root.controller.replayWelcomeTour()
                            }
                        }
                    }

                    NeuCard {
                        Layout.fillWidth: true
                        Layout.leftMargin: 20
                        Layout.rightMargin: 20
                        title: "Startup"

                        ColumnLayout {
                            width: parent.width
                            spacing: 10
                            RowLayout {
                                Layout.fillWidth: true
                                Text {
                                    text: "Start Binzo at login"
                                    color: Theme.neu.textPrimary
                                    font.pixelSize: 13
                                }
                                Item { Layout.fillWidth: true }
                                ToggleSwitch {
                                    checked: root.controller.startAtLogin
                                    onToggled: {
                                        root.controller.startAtLogin = checked
                                        // The file decides, also when writing it failed.
                                        checked = Qt.binding(() => root.controller.startAtLogin)
                                    }
                                }
                            }
                            Text {
                                Layout.fillWidth: true
                                text: root.controller.startAtLoginError
                                      || "Binzo waits in the tray from the moment you log in."
                                color: root.controller.startAtLoginError ? "#D64545" : Theme.neu.textSecondary
                                font.pixelSize: 11
                                wrapMode: Text.Wrap
                            }
                        }
                    }

                    NeuCard {
                        Layout.fillWidth: true
                        Layout.leftMargin: 20
                        Layout.rightMargin: 20
                        title: "Privacy"

                        ColumnLayout {
                            width: parent.width
                            spacing: 10
                            Text {
                                text: "Clear copied secrets after"
                                color: Theme.neu.textPrimary
                                font.pixelSize: 13
                            }
                            Row {
                                id: clearChoices
                                Layout.fillWidth: true
                                spacing: 8
                                Repeater {
                                    model: root.controller.clipboardClearChoices
                                    delegate: AbstractButton {
                                        id: choice
                                        required property var modelData
                                        readonly property bool selected: modelData.seconds === root.controller.clipboardClearSeconds
                                        width: (clearChoices.width - clearChoices.spacing * 4) / 5
                                        implicitHeight: 30
                                        onClicked: root.controller.clipboardClearSeconds = modelData.seconds
                                        contentItem: Text {
                                            text: choice.modelData.label
                                            horizontalAlignment: Text.AlignHCenter
                                            verticalAlignment: Text.AlignVCenter
                                            font.pixelSize: 12
                                            font.weight: Font.Medium
                                            color: choice.selected ? Theme.systemAccent : Theme.neu.textPrimary
                                        }
                                        background: NeuSurface {
                                            radius: 10
                                            mode: choice.selected ? "pressed" : "raised"
                                            shadowRadius: choice.selected ? 3 : 4
                                            shadowOffset: 2
                                            fillColor: Theme.neu.base
                                            darkColor: Theme.neu.dark
                                            lightColor: Theme.neu.light
                                        }
                                    }
                                }
                            }
                            Text {
                                Layout.fillWidth: true
                                text: "Only sensitive values are cleared, and only while the clipboard still holds them."
                                color: Theme.neu.textSecondary
                                font.pixelSize: 11
                                wrapMode: Text.WordWrap
                            }
                        }
                    }

                    NeuCard {
                        Layout.fillWidth: true
                        Layout.leftMargin: 20
                        Layout.rightMargin: 20
                        title: "Sensitive Values"
                        SecretStorePicker {
                            width: parent.width
                            settings: root.controller.secretStore
                        }
                    }

                    Item { Layout.preferredHeight: 2 }
                }
            }

            Item {
                ColumnLayout {
                    anchors.centerIn: parent
                    spacing: 10

                    NeuSurface {
                        Layout.alignment: Qt.AlignHCenter
                        Layout.bottomMargin: 8
                        implicitWidth: 46 + 44
                        implicitHeight: 46 + 44
                        radius: 18
                        mode: "raised"
                        shadowRadius: 9
                        shadowOffset: 4
                        fillColor: Theme.neu.base
                        darkColor: Theme.neu.dark
                        lightColor: Theme.neu.light
                        BrandMark {
                            anchors.centerIn: parent
                            size: 46
                        }
                    }
                    Text {
                        Layout.alignment: Qt.AlignHCenter
                        text: "Binzo"
                        color: Theme.neu.textPrimary
                        font.pixelSize: 22
                        font.weight: Font.DemiBold
                    }
                    Text {
                        Layout.alignment: Qt.AlignHCenter
                        text: "Your stuff, in its place — one keystroke away."
                        color: Theme.neu.textSecondary
                        font.pixelSize: 13
                    }
                    SelectableText {
                        Layout.alignment: Qt.AlignHCenter
                        text: root.controller.versionText
                        color: Theme.neu.textSecondary
                        opacity: 0.7
                        font.pixelSize: 11
                    }

                    GridLayout {
                        Layout.topMargin: 14
                        Layout.preferredWidth: 440
                        Layout.alignment: Qt.AlignHCenter
                        columns: 2
                        columnSpacing: 12
                        rowSpacing: 8

                        Repeater {
                            model: root.controller.locations
                            delegate: Text {
                                required property var modelData
                                required property int index
                                Layout.row: index
                                Layout.column: 0
                                Layout.alignment: Qt.AlignTop | Qt.AlignRight
                                text: modelData.title
                                color: Theme.neu.textSecondary
                                font.pixelSize: 11
                                topPadding: 1
                            }
                        }
                        Repeater {
                            model: root.controller.locations
                            delegate: SelectableText {
                                required property var modelData
                                required property int index
                                Layout.row: index
                                Layout.column: 1
                                Layout.fillWidth: true
                                text: modelData.place
                            }
                        }
                    }
                }
            }
        }
    }
}
