// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RuntimeFolder.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace RuntimeFolder {

QString defaultPath()
{
    // The XDG rules ignore a relative path.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime))
        return runtime + QStringLiteral("/binzo");
    return QDir::tempPath() + QStringLiteral("/binzo-%1").arg(geteuid());
}

bool makePrivate(const QString &path, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    // mkdir itself gives the mode, so there is no moment when the folder is open to others.
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        *error = QStringLiteral("cannot create %1: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat status
    {
    };
    if (::lstat(native.constData(), &status) != 0) {
        *error = QStringLiteral("cannot examine %1: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    if (!S_ISDIR(status.st_mode)) {
        *error = QStringLiteral("%1 is not a folder").arg(path);
        return false;
    }
    if (status.st_uid != geteuid()) {
        *error = QStringLiteral("%1 belongs to user %2, not to this user (%3)")
                     .arg(path)
                     .arg(status.st_uid)
                     .arg(geteuid());
        return false;
    }
    if (status.st_mode & (S_IWGRP | S_IWOTH)) {
        *error = QStringLiteral("%1 can be written by other users (mode %2)")
                     .arg(path)
                     .arg(status.st_mode & 07777, 4, 8, QLatin1Char('0'));
        return false;
    }
    // Ours and closed to writers: reading and entering are taken away too.
    if ((status.st_mode & 0077) != 0 && ::chmod(native.constData(), 0700) != 0) {
        *error = QStringLiteral("cannot make %1 private: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

} // namespace RuntimeFolder
