// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/RecordTables.h"

#include "model/records/Binzo.h"
#include "model/records/Entry.h"
#include "model/store/SqliteDatabase.h"

namespace {

QString storedDate(const QDateTime &at)
{
    if (!at.isValid())
        return {};
    return at.toUTC().toString(Qt::ISODateWithMs);
}

std::optional<QString> storedOptionalDate(const QDateTime &at)
{
    if (!at.isValid())
        return std::nullopt;
    return storedDate(at);
}

QDateTime dateFromStore(const std::optional<QString> &text)
{
    return text ? QDateTime::fromString(*text, Qt::ISODateWithMs).toUTC() : QDateTime();
}

QString storedId(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

template<class Record, class Make>
std::optional<QList<Record *>> loadAll(SqliteDatabase &database, const char *sql, Make make)
{
    SqliteStatement rows = database.prepare(sql);
    if (!rows.isValid())
        return std::nullopt;
    QList<Record *> records;
    for (;;) {
        switch (rows.step()) {
        case SqliteStatement::Step::Row:
            records.append(make(rows));
            break;
        case SqliteStatement::Step::Done:
            return records;
        case SqliteStatement::Step::Error:
            qDeleteAll(records);
            return std::nullopt;
        }
    }
}

} // namespace

RecordTables::RecordTables(SqliteDatabase &database)
    : m_database(database)
{ }

std::optional<QList<Binzo *>> RecordTables::loadBinzos(QObject *parent)
{
    return loadAll<Binzo>(
        m_database,
        "SELECT id, name, sfSymbol, colorHex, sortIndex, createdAt FROM Binzo ORDER BY rowid",
        [parent](const SqliteStatement &row) {
            return new Binzo(QUuid(row.text(0)), row.text(1), row.text(2), row.text(3),
                             row.integer(4), dateFromStore(row.optionalText(5)), parent);
        });
}

std::optional<QList<Entry *>> RecordTables::loadEntries(QObject *parent)
{
    return loadAll<Entry>(m_database,
                          "SELECT id, label, inlineValue, isSensitive, binzoID, createdAt, "
                          "updatedAt, lastUsedAt, useCount FROM Entry ORDER BY rowid",
                          [parent](const SqliteStatement &row) {
                              Entry::Fields fields;
                              fields.id = QUuid(row.text(0));
                              fields.label = row.text(1);
                              fields.inlineValue = row.optionalText(2);
                              fields.isSensitive = row.integer(3) != 0;
                              fields.binzoID = QUuid(row.text(4));
                              fields.createdAt = dateFromStore(row.optionalText(5));
                              fields.updatedAt = dateFromStore(row.optionalText(6));
                              fields.lastUsedAt = dateFromStore(row.optionalText(7));
                              fields.useCount = row.integer(8);
                              return new Entry(std::move(fields), parent);
                          });
}

bool RecordTables::write(const Binzo &binzo)
{
    SqliteStatement upsert = m_database.prepare(
        "INSERT INTO Binzo (id, name, sfSymbol, colorHex, sortIndex, createdAt) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT(id) DO UPDATE SET name = excluded.name, "
        "sfSymbol = excluded.sfSymbol, colorHex = excluded.colorHex, "
        "sortIndex = excluded.sortIndex, createdAt = excluded.createdAt");
    if (!upsert.isValid())
        return false;
    upsert.bind(1, storedId(binzo.id()));
    upsert.bind(2, binzo.name());
    upsert.bind(3, binzo.sfSymbol());
    upsert.bind(4, binzo.colorHex());
    upsert.bind(5, binzo.sortIndex());
    upsert.bind(6, storedDate(binzo.createdAt()));
    return upsert.run();
}

bool RecordTables::write(const Entry &entry)
{
    SqliteStatement upsert = m_database.prepare(
        "INSERT INTO Entry (id, label, inlineValue, isSensitive, binzoID, createdAt, updatedAt, "
        "lastUsedAt, useCount) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9) "
        "ON CONFLICT(id) DO UPDATE SET label = excluded.label, "
        "inlineValue = excluded.inlineValue, isSensitive = excluded.isSensitive, "
        "binzoID = excluded.binzoID, createdAt = excluded.createdAt, "
        "updatedAt = excluded.updatedAt, lastUsedAt = excluded.lastUsedAt, "
        "useCount = excluded.useCount");
    if (!upsert.isValid())
        return false;
    const Entry::Fields &fields = entry.fields();
    upsert.bind(1, storedId(fields.id));
    upsert.bind(2, fields.label);
    upsert.bind(3, fields.inlineValue);
    upsert.bind(4, qint64(fields.isSensitive ? 1 : 0));
    upsert.bind(5, storedId(fields.binzoID));
    upsert.bind(6, storedDate(fields.createdAt));
    upsert.bind(7, storedDate(fields.updatedAt));
    upsert.bind(8, storedOptionalDate(fields.lastUsedAt));
    upsert.bind(9, fields.useCount);
    return upsert.run();
}

bool RecordTables::removeEntry(const QUuid &id)
{
    return removeRow("DELETE FROM Entry WHERE id = ?1", id);
}

bool RecordTables::removeBinzo(const QUuid &id)
{
    return removeRow("DELETE FROM Binzo WHERE id = ?1", id);
}

bool RecordTables::removeRow(const char *sql, const QUuid &id)
{
    SqliteStatement remove = m_database.prepare(sql);
    if (!remove.isValid())
        return false;
    remove.bind(1, storedId(id));
    return remove.run();
}
