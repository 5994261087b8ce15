// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// Scrolls a ListView so that one of its items sits in the middle (as far as the content
// allows), easing out over 0.16 s, or at once.
NumberAnimation {
    id: root

    required property ListView view
    readonly property bool horizontal: view.orientation === ListView.Horizontal

    target: view
    property: horizontal ? "contentX" : "contentY"
    duration: 160
    easing.type: Easing.OutCubic

    // Where the view's content position puts the item in the middle, measured on the item
    // itself when it exists (items of different sizes make the view's own estimate drift).
    function position(index) {
        const item = view.itemAtIndex(index);
        const current = horizontal ? view.contentX : view.contentY;
        if (!item) {
            view.positionViewAtIndex(index, ListView.Center);
            const estimate = horizontal ? view.contentX : view.contentY;
            if (horizontal)
                view.contentX = current;
            else
                view.contentY = current;
            return estimate;
        }
        const size = horizontal ? view.width : view.height;
        const first = horizontal ? view.originX - view.leftMargin : view.originY - view.topMargin;
        const last = horizontal
            ? view.originX + view.contentWidth + view.rightMargin - size
            : view.originY + view.contentHeight + view.bottomMargin - size;
        const middle = horizontal ? item.x + item.width / 2 : item.y + item.height / 2;
        return Math.max(first, Math.min(last, middle - size / 2));
    }

    property int index: -1

    function centre(index) {
        if (index < 0 || index >= view.count)
            return;
        stop();
        root.index = index;
        from = horizontal ? view.contentX : view.contentY;
        to = position(index);
        start();
    }

    // Items built while scrolling can change the view's extent; the end is measured again.
    onFinished: {
        if (index >= 0 && index < view.count && Math.abs(position(index) - to) > 0.5)
            centreNow(index);
    }

    function centreNow(index) {
        if (index < 0 || index >= view.count)
            return;
        stop();
        if (horizontal)
            view.contentX = position(index);
        else
            view.contentY = position(index);
    }
}
