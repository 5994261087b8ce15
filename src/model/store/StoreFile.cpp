// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/store/StoreFile.h"

#include "model/Paths.h"
#include "model/store/SqliteDatabase.h"
#include "model/store/StoreSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kSqliteMagic[] = "SQLite format 3";

QString systemError(const QString &what, const QString &path)
{
    return QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(strerror(errno)));
}

// An empty private file, so the database and its journals never exist with wider modes.
bool createPrivateFile(const QString &path, QString *error)
{
    const QString dir = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(dir) && !Paths::ensurePrivateDir(dir)) {
        *error = systemError(QStringLiteral("cannot create the folder"), dir);
        return false;
    }
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        *error = systemError(QStringLiteral("cannot create the database"), path);
        return false;
    }
    ::close(fd);
    return true;
}

// Looks at the first bytes without SQLite, which might otherwise replay a journal into a
// file that is not ours.
bool hasSqliteHeader(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray head = file.read(sizeof kSqliteMagic);
    if (head.isEmpty() || head == QByteArray(kSqliteMagic, sizeof kSqliteMagic))
        return true;
    *error = QStringLiteral("%1 is not a Binzo database (not an SQLite file)").arg(path);
    return false;
}

std::optional<StoreSchema::State> inspectReadOnly(const QString &path, QString *error)
{
    SqliteDatabase database;
    if (!database.open(path, SqliteDatabase::Mode::ReadOnly)) {
        *error = QStringLiteral("cannot open %1: %2").arg(path, database.lastError());
        return std::nullopt;
    }
    const StoreSchema::Inspection inspection = StoreSchema::inspect(database);
    if (inspection.state == StoreSchema::State::Foreign) {
        *error = QStringLiteral("cannot use %1: %2").arg(path, inspection.error);
        return std::nullopt;
    }
    return inspection.state;
}

bool configure(SqliteDatabase &database, StoreSchema::State state)
{
    // WAL keeps every acknowledged commit through a crash; NORMAL syncs at checkpoints,
    // which loses no committed data in WAL mode short of a power failure. secure_delete
    // zeroes removed values instead of leaving them in free space. Opening may wait for
    // another writer; later writes run on the UI thread and never wait for a lock, since
    // even a few milliseconds of sleeping can cost several frames on a busy machine
    // (DataController retries them instead).
    if (!database.exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; "
                       "PRAGMA secure_delete = ON; PRAGMA busy_timeout = 2000"))
        return false;
    if (state == StoreSchema::State::Empty) {
        if (!StoreSchema::create(database))
            return false;
    } else {
        // Proves the folder and file take writes (journal files included) before the store
        // is used, without changing anything.
        if (!database.exec("BEGIN IMMEDIATE"))
            return false;
        database.rollback();
    }
    return database.exec("PRAGMA busy_timeout = 0");
}

} // namespace

namespace StoreFile {

Result<std::unique_ptr<SqliteDatabase>> open(const QString &path)
{
    QString error;
    // A folder the user made read-only stays so; root's access() would not see it.
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo::exists(folder) && !(QFile::permissions(folder) & QFile::WriteOwner)) {
        return Failure {
            QStringLiteral("cannot write in the folder %1: it is read-only").arg(folder)};
    }
    if (!QFileInfo::exists(path) && !createPrivateFile(path, &error))
        return Failure {error};
    // SQLite needs to create its journal files beside the database, and would say only
    // "readonly database" when it cannot.
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0) {
        return Failure {systemError(QStringLiteral("cannot write in the folder"), folder)};
    }
    if (!hasSqliteHeader(path, &error))
        return Failure {error};
    const std::optional<StoreSchema::State> state = inspectReadOnly(path, &error);
    if (!state)
        return Failure {error};

    auto database = std::make_unique<SqliteDatabase>();
    if (!database->open(path, SqliteDatabase::Mode::ReadWrite) || !configure(*database, *state)) {
        return Failure {
            QStringLiteral("cannot open %1 for writing: %2").arg(path, database->lastError())};
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return database;
}

} // namespace StoreFile
