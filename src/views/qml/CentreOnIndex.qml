// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// Scrolls a ListView so that one of its items sits in the middle (as far as the content
// allows), easing out over 0.16 s.
NumberAnimation {
    id: root

    required property ListView view
    readonly property bool horizontal: view.orientation === ListView.Horizontal

    target: view
    property: horizontal ? "contentX" : "contentY"
    duration: 160
    easing.type: Easing.OutCubic

    function centre(index) {
        if (index < 0 || index >= view.count)
            return;
        stop();
        const current = horizontal ? view.contentX : view.contentY;
        view.positionViewAtIndex(index, ListView.Center);
        const end = horizontal ? view.contentX : view.contentY;
        if (horizontal)
            view.contentX = current;
        else
            view.contentY = current;
        from = current;
        to = end;
        start();
    }
}
