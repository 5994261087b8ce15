// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Window
import Binzo.Ui

// A named symbol (see SymbolTable) drawn size x size in one colour.
Image {
    id: root

    property string name
    property color color: Theme.neu.textPrimary
    property real size: 16

    width: size
    height: size
    sourceSize.width: Math.ceil(size * Math.max(1, Screen.devicePixelRatio))
    sourceSize.height: Math.ceil(size * Math.max(1, Screen.devicePixelRatio))
    source: name.length > 0 ? "image://symbol/" + name + "/" + String(color).substring(1) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
}
