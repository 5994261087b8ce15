// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <Qt>

// What a key press in the quick panel asks for; the view model decides what it does.
struct PanelCommand
{
    enum class Kind {
        None,
        NewEntry,
        SelectBinzo, // binzoIndex
        CopySelected,
        SelectionDown,
        SelectionUp,
        NextBinzo,
        PreviousBinzo,
        DeleteSelected,
        EditSelected,
        RevealSelected,
        MenuOfSelected,
        MoveBinzoLeft,
        MoveBinzoRight,
        Undo,
        OpenPanel,
        OpenSettings,
        Quit,
    };
    Kind kind = Kind::None;
    int binzoIndex = -1;

    friend bool operator==(const PanelCommand &, const PanelCommand &) = default;
};

namespace PanelKeys {

// Qt's key code, modifiers, text and X11 keycode of a press (Ctrl plays the role of Command).
// While the search field holds text, Tab and Ctrl+Shift+arrows belong to the field.
PanelCommand command(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text,
                     quint32 nativeScanCode, bool searchEmpty);

} // namespace PanelKeys
