// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Result.h"

#include <QString>

// Starting Binzo at login, through an XDG Autostart entry in the user's config folder. The
// file itself is the state: nothing else remembers whether it is on.
namespace Autostart {

// $XDG_CONFIG_HOME/autostart/binzo.desktop
QString entryPath();
// True when the entry exists and the desktop would run it (not Hidden, not disabled).
bool isEnabled();
// Writes an entry that starts executable at login.
Result<void> enable(const QString &executable);
// Removes the entry; succeeds when there is none.
Result<void> disable();
// The Exec line's value for executable, quoted as the Desktop Entry rules require.
QString execValue(const QString &executable);

} // namespace Autostart
