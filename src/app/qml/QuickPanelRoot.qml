// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Binzo.Ui
import Binzo.Quick

// The panel window's scene: the quick-access view and the shadow it casts, inset by the
// transparent margin that holds the shadow. The controller fades and scales `panelContent`.
Item {
    id: root

    required property QtObject viewModel
    required property rect contentRect

    function focusSearch() {
        view.focusSearch();
    }

    Item {
        objectName: "panelContent"
        x: root.contentRect.x
        y: root.contentRect.y
        width: root.contentRect.width
        height: root.contentRect.height
        opacity: 0
        scale: 0.96

        NeuSurface {
            anchors.fill: parent
            mode: "accent"
            radius: 20
            fillColor: "transparent"
            shadowColor: Qt.rgba(0, 0, 0, 0.35)
            shadowRadius: 32
            shadowOffset: 16
        }

        QuickAccessView {
            id: view
            anchors.fill: parent
            viewModel: root.viewModel
            focus: true
        }
    }
}
