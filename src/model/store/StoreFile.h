// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Result.h"

#include <QString>

#include <memory>

class SqliteDatabase;

namespace StoreFile {

// Opens the record store at path, creating a private file and folder when missing. A file
// that is not a Binzo database is only read, never changed, and gives a Failure.
Result<std::unique_ptr<SqliteDatabase>> open(const QString &path);

} // namespace StoreFile
