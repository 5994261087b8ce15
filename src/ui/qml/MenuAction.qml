// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick.Controls

// An action of a ContextMenu; destructive ones are drawn in red.
Action {
    property bool destructive
}
