// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/PrivateFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString failure(const char *what, const QString &path)
{
    return QStringLiteral("%1 %2: %3")
        .arg(QString::fromLatin1(what), path, QString::fromLocal8Bit(strerror(errno)));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// A synced private temporary file next to path; its name, or empty on failure.
QByteArray writeTemporary(const QString &path, const QByteArray &bytes, QString *error)
{
    QByteArray name = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC); // mode 0600
    if (fd < 0) {
        *error = failure("cannot create a file beside", path);
        return {};
    }
    const bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (!ok)
        *error = failure("cannot write", QFile::decodeName(name));
    ::close(fd);
    if (!ok) {
        ::unlink(name.constData());
        return {};
    }
    return name;
}

// Makes a rename or link inside the folder survive a power failure.
void syncFolder(const QString &path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

namespace PrivateFile {

std::optional<QByteArray> read(const QString &path, bool *missing, QString *error)
{
    *missing = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists()) {
            *missing = true;
            return std::nullopt;
        }
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return file.readAll();
}

Result<void> replace(const QString &path, const QByteArray &bytes)
{
    QString error;
    const QByteArray temporary = writeTemporary(path, bytes, &error);
    if (temporary.isEmpty())
        return Failure {error};
    if (::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        Failure why {failure("cannot replace", path)};
        ::unlink(temporary.constData());
        return why;
    }
    syncFolder(path);
    return {};
}

bool createOnce(const QString &path, const QByteArray &bytes, bool *exists, QString *error)
{
    *exists = false;
    const QByteArray temporary = writeTemporary(path, bytes, error);
    if (temporary.isEmpty())
        return false;
    // link() fails when the name is taken, unlike rename(): the first process wins.
    const int linked = ::link(temporary.constData(), QFile::encodeName(path).constData());
    const int linkError = errno;
    ::unlink(temporary.constData());
    if (linked != 0) {
        errno = linkError;
        *exists = linkError == EEXIST;
        if (!*exists)
            *error = failure("cannot create", path);
        return false;
    }
    syncFolder(path);
    return true;
}

Lock::Lock(const QString &path, int timeoutMs)
    : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
{
    if (m_fd < 0)
        return;
    QElapsedTimer waited;
    waited.start();
    while (!(m_locked = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0) && waited.elapsed() < timeoutMs)
        QThread::msleep(5);
}

Lock::~Lock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

} // namespace PrivateFile
