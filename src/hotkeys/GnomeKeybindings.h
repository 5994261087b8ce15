// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace Hotkeys {

// Every combination GNOME's keybinding schemas hold (window manager, shell, mutter, media
// keys and the user's custom keybindings), as GTK accelerator texts. Schemas that are not
// installed are skipped; without any, the list is empty.
QStringList gnomeKeybindings();

} // namespace Hotkeys
