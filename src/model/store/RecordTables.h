// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QUuid>

#include <optional>

class Binzo;
class Entry;
class QObject;
class SqliteDatabase;

// Reads and writes records as rows of the Binzo and Entry tables. Dates are stored as
// ISO-8601 UTC text with milliseconds: readable with any SQLite tool, ordered as text, and
// exact to the millisecond the records keep.
class RecordTables
{
public:
    explicit RecordTables(SqliteDatabase &database);

    // Rows in store order, as records owned by parent; absent on a read error.
    std::optional<QList<Binzo *>> loadBinzos(QObject *parent);
    std::optional<QList<Entry *>> loadEntries(QObject *parent);

    // Insert or update by id.
    bool write(const Binzo &binzo);
    bool write(const Entry &entry);
    bool removeEntry(const QUuid &id);
    bool removeBinzo(const QUuid &id);

private:
    bool removeRow(const char *sql, const QUuid &id);

    SqliteDatabase &m_database;
};
