// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Paths.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

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
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode)) {
        // Others lose access, but the owner's own bits stay: a folder the user made
        // read-only is reported by whoever needs to write there, never made writable.
        const mode_t mode = info.st_mode & 07777;
        return (mode & 077) == 0 || ::chmod(name.constData(), mode & ~mode_t(077)) == 0;
    }
    if (!QDir().mkpath(path))
        return false;
    return ::chmod(name.constData(), 0700) == 0;
}

QString dataDir()
{
    const QString dir
        = baseDir("XDG_DATA_HOME", QStringLiteral("/.local/share")) + QStringLiteral("/binzo");
    ensurePrivateDir(dir);
    return dir;
}

QString configDir()
{
    const QString dir
        = baseDir("XDG_CONFIG_HOME", QStringLiteral("/.config")) + QStringLiteral("/binzo");
    ensurePrivateDir(dir);
    return dir;
}

} // namespace Paths
