// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/StoreSchema.h"

#include "model/store/SqliteDatabase.h"

#include <QMap>

namespace {

// Column order and types follow the records; only id is constrained.
const char kCreateBinzo[] = "CREATE TABLE Binzo (id TEXT UNIQUE, name TEXT, sfSymbol TEXT, "
                            "colorHex TEXT, sortIndex INTEGER, createdAt TEXT)";
const char kCreateEntry[] = "CREATE TABLE Entry (id TEXT UNIQUE, label TEXT, inlineValue TEXT, "
                            "isSensitive INTEGER, binzoID TEXT, createdAt TEXT, updatedAt TEXT, "
                            "lastUsedAt TEXT, useCount INTEGER)";

const QMap<QString, QString> &expectedObjects()
{
    static const QMap<QString, QString> objects {
        {QStringLiteral("table Binzo"), QString::fromLatin1(kCreateBinzo)},
        {QStringLiteral("table Entry"), QString::fromLatin1(kCreateEntry)},
        // The implicit indexes behind the two UNIQUE constraints have no SQL text.
        {QStringLiteral("index sqlite_autoindex_Binzo_1"), QString()},
        {QStringLiteral("index sqlite_autoindex_Entry_1"), QString()},
    };
    return objects;
}

StoreSchema::Inspection foreign(const QString &error)
{
    return {StoreSchema::State::Foreign, error};
}

} // namespace

namespace StoreSchema {

Inspection inspect(SqliteDatabase &database)
{
    SqliteStatement objects = database.prepare("SELECT type, name, sql FROM sqlite_master");
    if (!objects.isValid())
        return foreign(database.lastError());
    QMap<QString, QString> found;
    for (;;) {
        const SqliteStatement::Step step = objects.step();
        if (step == SqliteStatement::Step::Error)
            return foreign(database.lastError());
        if (step == SqliteStatement::Step::Done)
            break;
        found.insert(objects.text(0) + QLatin1Char(' ') + objects.text(1), objects.text(2));
    }
    const std::optional<qint64> version = database.queryInteger("PRAGMA user_version");
    if (!version)
        return foreign(database.lastError());

    if (found.isEmpty() && *version == 0)
        return {State::Empty, {}};
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        if (expectedObjects().value(it.key(), QStringLiteral("\n")) != it.value())
            return foreign(QStringLiteral("not a Binzo database (unexpected %1)").arg(it.key()));
    }
    if (found.size() != expectedObjects().size())
        return foreign(QStringLiteral("not a Binzo database (tables missing)"));
    if (*version != kUserVersion)
        return foreign(QStringLiteral("unsupported Binzo database version %1").arg(*version));
    return {State::Current, {}};
}

bool create(SqliteDatabase &database)
{
    const QByteArray script = QByteArray("BEGIN IMMEDIATE;") + kCreateBinzo + ";" + kCreateEntry
        + ";PRAGMA user_version = " + QByteArray::number(kUserVersion) + ";COMMIT;";
    if (database.exec(script.constData()))
        return true;
    database.rollback();
    return false;
}

} // namespace StoreSchema
