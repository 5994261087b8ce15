// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Binzo.Ui

// Text the user can select and copy (a path, the version), wrapped between words, or anywhere
// in a long path, so it stays inside its column.
TextEdit {
    readOnly: true
    selectByMouse: true
    selectByKeyboard: true
    activeFocusOnPress: true
    wrapMode: TextEdit.WrapAtWordBoundaryOrAnywhere
    color: Theme.neu.textPrimary
    selectionColor: Theme.systemAccent
    selectedTextColor: "white"
    font.pixelSize: 12
}
