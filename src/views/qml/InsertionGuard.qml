// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Binzo.Views

// Placed inside a text field: a paste (keys or middle click) or a drop that the form refuses
// never reaches the field, which would otherwise lay the whole text out before it is refused.
// The field forwards its key presses to keyPressed().
Item {
    id: guard

    required property Item field
    required property EntryEditor form

    anchors.fill: parent

    function keyPressed(event) {
        if (event.matches(StandardKey.Paste))
            event.accepted = !form.admitsPaste(field.selectionEnd - field.selectionStart)
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.MiddleButton
        // Taking the press keeps the click from the field; letting it go lets it paste.
        onPressed: mouse => mouse.accepted = !guard.form.admitsPaste(0, true)
    }

    DropArea {
        anchors.fill: parent
        onEntered: drag => drag.accepted = !guard.form.admitsInsertion(drag.text.length, 0)
    }
}
