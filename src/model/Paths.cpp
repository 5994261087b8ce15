// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Paths.h"

#include <QDir>
#include <QFile>

namespace {

QString baseDir(const char *variable, const QString &fallback)
{
    const QString value = qEnvironmentVariable(variable);
    // The XDG rules ignore relative paths.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + fallback;
}

} // namespace

namespace Paths {

bool ensurePrivateDir(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString dataDir()
{
    const QString dir
        = baseDir("XDG_DATA_HOME", QStringLiteral("/.local/share")) + QStringLiteral("/binzo");
    ensurePrivateDir(dir);
    return dir;
}

QString configHome()
{
    return baseDir("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

QString configDir()
{
    const QString dir = configHome() + QStringLiteral("/binzo");
    ensurePrivateDir(dir);
    return dir;
}

} // namespace Paths
