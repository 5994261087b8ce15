// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

class SqliteDatabase;

// One prepared statement; finalized when it goes out of scope.
class SqliteStatement
{
public:
    SqliteStatement(SqliteStatement &&other) noexcept;
    SqliteStatement &operator=(SqliteStatement &&) = delete;
    SqliteStatement(const SqliteStatement &) = delete;
    ~SqliteStatement();

    bool isValid() const { return m_statement != nullptr; }

    // Parameters count from 1, as in SQL.
    void bind(int index, const QString &text);
    void bind(int index, const std::optional<QString> &text);
    void bind(int index, qint64 value);
    void bindNull(int index);

    enum class Step { Row, Done, Error };
    Step step();
    // Runs a statement that returns no rows; false on error.
    bool run();

    QString text(int column) const;
    std::optional<QString> optionalText(int column) const;
    qint64 integer(int column) const;

private:
    friend class SqliteDatabase;
    SqliteStatement(SqliteDatabase *database, sqlite3_stmt *statement);

    SqliteDatabase *m_database;
    sqlite3_stmt *m_statement;
};

// A connection to one SQLite file, closed when it goes out of scope.
class SqliteDatabase
{
public:
    SqliteDatabase() = default;
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;
    ~SqliteDatabase();

    enum class Mode { ReadOnly, ReadWrite };
    // Opens an existing file; never creates one.
    bool open(const QString &path, Mode mode);
    bool isOpen() const { return m_handle != nullptr; }

    // Runs one or more statements that return no rows.
    bool exec(const char *sql);
    // Ends a failed transaction, keeping the error that failed it.
    void rollback();
    // An invalid statement on error (lastError says why).
    SqliteStatement prepare(const char *sql);
    // The first column of the first row of a query returning one integer.
    std::optional<qint64> queryInteger(const char *sql);
    // Copies the whole write-ahead log into the database and empties the log file. Fails
    // (busy) while another connection reads an older state or writes.
    bool checkpointAndTruncate();

    QString lastError() const { return m_lastError; }
    // The last error was another connection's lock (SQLITE_BUSY), which ends on its own.
    bool lastErrorWasBusy() const { return m_lastErrorWasBusy; }

private:
    friend class SqliteStatement;
    void recordError();

    sqlite3 *m_handle = nullptr;
    QString m_lastError;
    bool m_lastErrorWasBusy = false;
};
