// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The private folder for the single-instance lock and socket. Another local user must not be
// able to take it first, nor to replace what is in it.
namespace RuntimeFolder {

// $XDG_RUNTIME_DIR/binzo; without that variable, binzo-<uid> in the temporary folder.
QString defaultPath();

// Creates the folder with mode 0700 when it is missing, then checks that it is a folder (not a
// link) owned by this user that no one else can write. False with *error naming the folder and
// the fault otherwise.
bool makePrivate(const QString &path, QString *error);

} // namespace RuntimeFolder
