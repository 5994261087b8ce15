// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls
import Binzo.Ui

// A single-line rounded-border text field in the current palette.
TextField {
    id: field

    color: Theme.neu.textPrimary
    placeholderTextColor: Theme.neu.textSecondary
    selectedTextColor: "white"
    selectionColor: Theme.systemAccent
    font.pixelSize: 13
    leftPadding: 9
    rightPadding: 9
    selectByMouse: true
    background: FieldBackground { active: field.activeFocus }
}
