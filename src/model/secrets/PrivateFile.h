// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Result.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Files only their owner may read, written so that a crash or a second process never sees
// half of one.
namespace PrivateFile {

// The whole file; absent with *missing set when there is none, or *error on failure.
std::optional<QByteArray> read(const QString &path, bool *missing, QString *error);
// Writes a private temporary file, syncs it and renames it over path.
Result<void> replace(const QString &path, const QByteArray &bytes);
// Makes path hold bytes unless it already exists (then *exists is set); the file appears
// complete or not at all.
bool createOnce(const QString &path, const QByteArray &bytes, bool *exists, QString *error);

// An exclusive advisory lock on a lock file, released on destruction.
class Lock
{
public:
    Lock(const QString &path, int timeoutMs);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

    bool isLocked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};

} // namespace PrivateFile
