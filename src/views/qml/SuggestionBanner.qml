// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts
import Binzo.Ui

// The paste detector's offer: what the value looks like, what Apply would do, and Apply.
Rectangle {
    id: banner

    property string title
    property string subtitle

    signal apply()

    implicitHeight: row.implicitHeight + 20
    radius: 10
    color: Qt.rgba(Theme.systemAccent.r, Theme.systemAccent.g, Theme.systemAccent.b, 0.10)

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: 10
        spacing: 10

        Symbol {
            name: "sparkles"
            size: 16
            color: Theme.systemAccent
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 1
            Text {
                Layout.fillWidth: true
                text: banner.title
                color: Theme.neu.textPrimary
                font.pixelSize: 12
                font.weight: Font.Medium
                elide: Text.ElideRight
            }
            Text {
                Layout.fillWidth: true
                text: banner.subtitle
                color: Theme.neu.textSecondary
                font.pixelSize: 11
                elide: Text.ElideRight
            }
        }
        NeuButton {
            text: "Apply"
            look: "prominent"
            implicitHeight: 24
            onClicked: banner.apply()
        }
    }
}
