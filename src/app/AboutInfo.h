// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class Preferences;

// What Settings tells about this copy of Binzo: its version and where it keeps things.
namespace AboutInfo {

struct Location
{
    QString title;
    QString place;
};

// "Version 1.0.0", from the build.
QString versionText();
// The data folder, the database, where sensitive values live, the smart-find model and the
// preferences file, as they are for this user now.
QList<Location> locations(const Preferences &preferences, const QString &modelPath);

} // namespace AboutInfo
