// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/Modifiers.h"
#include "hotkeys/Shortcut.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace Hotkeys {

class KeyboardLayout;

// The shortcuts a desktop keeps for itself, as its settings list them: GNOME's keybinding
// schemas (GSettings), KDE's kglobalshortcutsrc and Xfce's xfce4-keyboard-shortcuts channel.
// A combination found there is refused by the recorder even when the desktop holds no X grab
// for it (GNOME Shell and KWin take many keys without one).
namespace DesktopShortcuts {

// One combination as a desktop writes it: modifiers and the X keysym of the key.
struct Accelerator
{
    Modifiers::EventFlags modifiers = 0;
    quint32 keysym = 0;

    friend bool operator==(const Accelerator &, const Accelerator &) = default;
};

// "<Primary><Shift>s", "<Super>space", "<Alt>F4" (GTK, as GNOME and Xfce write them).
std::optional<Accelerator> fromGtk(const QString &text);
// Every active combination of every action in kglobalshortcutsrc.
QList<Accelerator> fromKdeConfig(const QString &text);
// The combinations of xfce4-keyboard-shortcuts.xml: the custom set when there is one, else the
// default set.
QList<Accelerator> fromXfceChannel(const QByteArray &xml);

// As stored shortcuts under a layout; combinations no key of the layout types are dropped.
QList<Shortcut> toShortcuts(const QList<Accelerator> &accelerators, const KeyboardLayout &layout);

// What the running desktop (XDG_CURRENT_DESKTOP) lists, read afresh; empty for other desktops
// and where nothing is readable.
QList<Shortcut> read();

} // namespace DesktopShortcuts

} // namespace Hotkeys
