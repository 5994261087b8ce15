// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where Binzo keeps its files, following the XDG base-directory rules.
namespace Paths {

// $XDG_DATA_HOME/binzo (default ~/.local/share/binzo), created with mode 0700.
QString dataDir();
// $XDG_CONFIG_HOME/binzo (default ~/.config/binzo), created with mode 0700.
QString configDir();
// Creates the folder and any missing parents; a new last level gets mode 0700, an existing
// one loses only group and other access.
bool ensurePrivateDir(const QString &path);

} // namespace Paths
