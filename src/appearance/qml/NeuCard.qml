// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Binzo.Ui

// A titled group on the large raised surface; children go under the title, full width.
Item {
    id: root

    property var neu: Theme.neu
    property string title
    default property alias content: body.data

    implicitWidth: column.implicitWidth + 36
    implicitHeight: column.implicitHeight + 36

    NeuSurface {
        anchors.fill: parent
        radius: 18
        mode: "raised"
        shadowRadius: 9
        shadowOffset: 4
        fillColor: root.neu.base
        darkColor: root.neu.dark
        lightColor: root.neu.light
    }

    Column {
        id: column
        anchors.fill: parent
        anchors.margins: 18
        spacing: 12

        Text {
            text: root.title.toUpperCase()
            font.pixelSize: 11
            font.weight: Font.DemiBold
            font.letterSpacing: 0.6
            color: root.neu.textSecondary
        }

        Item {
            id: body
            width: column.width
            implicitWidth: childrenRect.width
            height: childrenRect.height
        }
    }
}
