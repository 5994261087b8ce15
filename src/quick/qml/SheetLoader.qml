// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// Builds an editor sheet while the view model wants it open, hands it the view model and
// gives it the keyboard; the sheet is destroyed when it closes.
Loader {
    id: root

    property bool shown
    property url sheet
    property QtObject viewModel

    signal closed

    onShownChanged: {
        if (shown) {
            setSource(sheet, {viewModel: viewModel});
        } else {
            setSource("");
            closed();
        }
    }
    onLoaded: item.forceActiveFocus()
}
