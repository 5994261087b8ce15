// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SqliteDatabase;

// The two tables of the record store and the check that a file holds exactly them.
namespace StoreSchema {

// Schema version 1.0.0 as PRAGMA user_version (major * 10000 + minor * 100 + patch).
constexpr int kUserVersion = 10000;

enum class State { Empty, Current, Foreign };
struct Inspection
{
    State state = State::Foreign;
    QString error; // why a Foreign file cannot be used
};

// Reads only; never changes the file.
Inspection inspect(SqliteDatabase &database);
// Creates both tables and records the version in one transaction.
bool create(SqliteDatabase &database);

} // namespace StoreSchema
