// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/SqliteDatabase.h"

#include <QFile>

#include <sqlite3.h>

SqliteStatement::SqliteStatement(SqliteDatabase *database, sqlite3_stmt *statement)
    : m_database(database)
    , m_statement(statement)
{ }

SqliteStatement::SqliteStatement(SqliteStatement &&other) noexcept
    : m_database(other.m_database)
    , m_statement(other.m_statement)
{
    other.m_statement = nullptr;
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int index, const std::optional<QString> &text)
{
    if (text)
        bind(index, *text);
    else
        bindNull(index);
}

void SqliteStatement::bind(int index, qint64 value)
{
    sqlite3_bind_int64(m_statement, index, value);
}

void SqliteStatement::bindNull(int index)
{
    sqlite3_bind_null(m_statement, index);
}

SqliteStatement::Step SqliteStatement::step()
{
    switch (sqlite3_step(m_statement)) {
    case SQLITE_ROW:
        return Step::Row;
    case SQLITE_DONE:
        return Step::Done;
    default:
        m_database->recordError();
        return Step::Error;
    }
}

bool SqliteStatement::run()
{
    const bool done = step() == Step::Done;
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    return done;
}

QString SqliteStatement::text(int column) const
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
}

std::optional<QString> SqliteStatement::optionalText(int column) const
{
    if (sqlite3_column_type(m_statement, column) == SQLITE_NULL)
        return std::nullopt;
    return text(column);
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close_v2(m_handle);
}

bool SqliteDatabase::open(const QString &path, Mode mode)
{
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE)
        | SQLITE_OPEN_NOMUTEX;
    const int status
        = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_handle, flags, nullptr);
    if (status != SQLITE_OK) {
        m_lastError = m_handle ? QString::fromUtf8(sqlite3_errmsg(m_handle))
                               : QString::fromUtf8(sqlite3_errstr(status));
        sqlite3_close_v2(m_handle);
        m_handle = nullptr;
        return false;
    }
    sqlite3_extended_result_codes(m_handle, 1);
    return true;
}

bool SqliteDatabase::exec(const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(m_handle, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    m_lastError = QString::fromUtf8(message ? message : sqlite3_errmsg(m_handle));
    m_lastErrorWasBusy = (sqlite3_extended_errcode(m_handle) & 0xff) == SQLITE_BUSY;
    sqlite3_free(message);
    return false;
}

void SqliteDatabase::rollback()
{
    sqlite3_exec(m_handle, "ROLLBACK", nullptr, nullptr, nullptr);
}

SqliteStatement SqliteDatabase::prepare(const char *sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v3(m_handle, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr)
        != SQLITE_OK)
        recordError();
    return SqliteStatement(this, statement);
}

std::optional<qint64> SqliteDatabase::queryInteger(const char *sql)
{
    SqliteStatement statement = prepare(sql);
    if (!statement.isValid() || statement.step() != SqliteStatement::Step::Row)
        return std::nullopt;
    return statement.integer(0);
}

bool SqliteDatabase::checkpointAndTruncate()
{
    if (sqlite3_wal_checkpoint_v2(m_handle, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr)
        == SQLITE_OK)
        return true;
    recordError();
    return false;
}

void SqliteDatabase::recordError()
{
    m_lastError = QString::fromUtf8(sqlite3_errmsg(m_handle));
    m_lastErrorWasBusy = (sqlite3_extended_errcode(m_handle) & 0xff) == SQLITE_BUSY;
}
