// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreFixture.h"

#include "model/store/SqliteDatabase.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

struct StoreFileTest : ::testing::Test, StoreFixture
{
    QString folder = QFileInfo(path).path();

    QStringList columns(SqliteDatabase &database, const char *table) const
    {
        QStringList result;
        SqliteStatement info = database.prepare(
            QByteArray("SELECT name, type FROM pragma_table_info('") + table + "')");
        while (info.step() == SqliteStatement::Step::Row)
            result.append(info.text(0) + ' ' + info.text(1));
        return result;
    }
};

TEST_F(StoreFileTest, NewStoreHasTheTwoTablesPrivately)
{
    const std::unique_ptr<DataController> store = openStore();
    ASSERT_TRUE(store);
    EXPECT_EQ(fileMode(folder), 0700);
    EXPECT_EQ(fileMode(path), 0600);
    EXPECT_EQ(fileMode(path + "-wal"), 0600);

    SqliteDatabase database;
    ASSERT_TRUE(database.open(path, SqliteDatabase::Mode::ReadOnly));
    EXPECT_EQ(columns(database, "Binzo"),
              QStringList({"id TEXT", "name TEXT", "sfSymbol TEXT", "colorHex TEXT",
                           "sortIndex INTEGER", "createdAt TEXT"}));
    EXPECT_EQ(columns(database, "Entry"),
              QStringList({"id TEXT", "label TEXT", "inlineValue TEXT", "isSensitive INTEGER",
                           "binzoID TEXT", "createdAt TEXT", "updatedAt TEXT", "lastUsedAt TEXT",
                           "useCount INTEGER"}));
    EXPECT_EQ(database.queryInteger("SELECT count(*) FROM sqlite_master WHERE type = 'table'"), 2);
    EXPECT_EQ(database.queryInteger("PRAGMA user_version"), 10000);
    SqliteStatement mode = database.prepare("PRAGMA journal_mode");
    ASSERT_EQ(mode.step(), SqliteStatement::Step::Row);
    EXPECT_EQ(mode.text(0), "wal");
}

TEST_F(StoreFileTest, ForeignFilesAreRefusedAndLeftUntouched)
{
    const auto foreignDatabase = [this](const char *sql) {
        writeFile(path, {});
        SqliteDatabase database;
        EXPECT_TRUE(database.open(path, SqliteDatabase::Mode::ReadWrite));
        EXPECT_TRUE(database.exec(sql));
    };
    const struct
    {
        const char *name;
        std::function<void()> make;
        const char *error;
    } cases[] = {
        {"text file", [this] { writeFile(path, "these are my notes\n"); }, "not an SQLite file"},
        {"short file", [this] { writeFile(path, "SQ"); }, "not an SQLite file"},
        {"other application",
         [&] { foreignDatabase("CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('x')"); },
         "unexpected table notes"},
        {"newer version",
         [&] {
             foreignDatabase("CREATE TABLE Binzo (id TEXT UNIQUE, name TEXT, sfSymbol TEXT, "
                             "colorHex TEXT, sortIndex INTEGER, createdAt TEXT);"
                             "CREATE TABLE Entry (id TEXT UNIQUE, label TEXT, inlineValue TEXT, "
                             "isSensitive INTEGER, binzoID TEXT, createdAt TEXT, "
                             "updatedAt TEXT, lastUsedAt TEXT, useCount INTEGER);"
                             "PRAGMA user_version = 20000");
         },
         "version 20000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path);
        c.make();
        const QByteArray before = fileContents(path);
        const QString error = DataController::open(path, KeychainStore::shared()).error();
        EXPECT_TRUE(error.contains(c.error)) << qPrintable(error);
        EXPECT_TRUE(error.contains(path)) << qPrintable(error);
        EXPECT_EQ(fileContents(path), before);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"binzo.sqlite3"}));
    }
}

TEST_F(StoreFileTest, EmptyFileBecomesAStore)
{
    // What an interrupted first start leaves behind.
    writeFile(path, {});
    const std::unique_ptr<DataController> store = openStore();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->binzos().size(), 3);
}

} // namespace
