// SPDX-License-Identifier: GPL-3.0-or-later
#include "ForeignLock.h"
#include "StoreFixture.h"

#include "model/secrets/FileSecretStore.h"
#include "model/secrets/SecretStores.h"
#include "model/store/SqliteDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr uid_t kNobody = 65534;

using Change = std::function<void(DataController &, Entry *)>;

struct StoreFaultTest : ::testing::Test, StoreFixture
{
    QString folder = QFileInfo(path).path();

    std::unique_ptr<DataController> openFresh()
    {
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(path + suffix);
        return openStore();
    }

    qint64 queryOnDisk(const char *sql) const
    {
        SqliteDatabase database;
        EXPECT_TRUE(database.open(path, SqliteDatabase::Mode::ReadOnly));
        return database.queryInteger(sql).value_or(-1);
    }

    // Which of the database's three files hold the text, as `grep -a` would find it.
    std::string filesHolding(const QString &text) const
    {
        QStringList holding;
        for (const char *suffix : {"", "-wal", "-shm"}) {
            QFile file(path + suffix);
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text.toUtf8()))
                holding.append(QFileInfo(file).fileName());
        }
        return holding.join(' ').toStdString();
    }
};

// Another program holding the write lock delays a change but never loses it: the failure is
// reported at once, retried on its own for as long as the lock lasts, and on disk soon after.
TEST_F(StoreFaultTest, ForeignLockDelaysAChangeButNeverLosesIt)
{
    const struct
    {
        const char *name;
        Change change;
        const char *onDisk; // 1 once the change is there
    } cases[] = {
        {"addEntry",
         [](DataController &store, Entry *) {
             store.addEntry(store.binzos().first(), "Added", "+49 30 123", false);
         },
         "SELECT count(*) FROM Entry WHERE label = 'Added'"},
        {"updateEntry",
         [](DataController &store, Entry *entry) {
             store.updateEntry(entry, "Renamed", "new", false);
         },
         "SELECT count(*) FROM Entry WHERE label = 'Renamed' AND inlineValue = 'new'"},
        {"deleteEntry", [](DataController &store, Entry *entry) { store.deleteEntry(entry); },
         "SELECT count(*) = 0 FROM Entry"},
        {"markUsed", [](DataController &store, Entry *entry) { store.markUsed(entry); },
         "SELECT useCount FROM Entry"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto store = openFresh();
        Entry *entry = store->addEntry(store->binzos().first(), "Phone", "old", false);
        QSignalSpy reported(store.get(), &DataController::saveStateChanged);
        ForeignLock lock(path);
        ASSERT_TRUE(lock.isHeld());

        c.change(*store, entry);
        EXPECT_EQ(store->unsavedChangeCount(), 1);
        EXPECT_EQ(store->saveError(), "database is locked");
        EXPECT_EQ(reported.size(), 1);
        timers.advance(60s);
        EXPECT_EQ(store->unsavedChangeCount(), 1);
        EXPECT_EQ(queryOnDisk(c.onDisk), 0);

        lock.release();
        timers.advance(5s); // the longest pause between retries
        EXPECT_EQ(store->unsavedChangeCount(), 0);
        EXPECT_EQ(store->saveError(), QString());
        EXPECT_EQ(queryOnDisk(c.onDisk), 1);
    }
}

// A plain value that a change removes is in none of the database's files moments later, not
// in free space of the database nor in the log, even when it had reached the database file.
TEST_F(StoreFaultTest, RemovedPlainValueLeavesNoTraceOnDisk)
{
    const QString value = "4111-RESIDUE-1111";
    const struct
    {
        const char *name;
        Change change;
    } cases[] = {
        {"deleted", [](DataController &store, Entry *entry) { store.deleteEntry(entry); }},
        {"made sensitive",
         [&](DataController &store, Entry *entry) {
             EXPECT_EQ(updateEntryAndWait(store, entry, "Card", value, true), "");
         }},
        {"given a new value",
         [](DataController &store, Entry *entry) {
             store.updateEntry(entry, "Card", "4111-NEW", false);
         }},
    };
    for (const auto &c : cases) {
        for (const bool readerWaits : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (readerWaits ? ", a reader waiting" : ""));
            {
                auto first = openFresh();
                first->addEntry(first->binzos().first(), "Card", value, false);
            }
            auto store = openStore(); // closing moved the value into the database file
            ASSERT_EQ(filesHolding(value), "binzo.sqlite3");

            SqliteDatabase reader;
            ASSERT_TRUE(reader.open(path, SqliteDatabase::Mode::ReadOnly));
            if (readerWaits) {
                ASSERT_TRUE(reader.exec("BEGIN; SELECT count(*) FROM Entry;"));
            }
            c.change(*store, store->entries().first());
            if (readerWaits) {
                EXPECT_NE(filesHolding(value), "") << "a reader still sees it";
                reader.exec("COMMIT");
                timers.advance(250ms);
            }
            EXPECT_EQ(filesHolding(value), "");
        }
    }
}

TEST_F(StoreFaultTest, KilledWriterLeavesEveryAcknowledgedCommit)
{
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        QProcess writer;
        writer.start(MODEL_TEST_HELPER, {"add-entries", path});
        ASSERT_TRUE(writer.waitForStarted());
        QByteArray acknowledged;
        const auto awaitAcknowledged = [&](int count) {
            while (acknowledged.count('\n') < count) {
                if (!writer.waitForReadyRead(10000))
                    return false;
                acknowledged += writer.readAllStandardOutput();
            }
            return true;
        };
        // Kill at a different moment of each round. In odd rounds another program holds the
        // lock for a while, so saves fail and are retried; round 3 dies while it is held.
        ASSERT_TRUE(awaitAcknowledged(10)) << writer.readAllStandardError().data();
        std::optional<ForeignLock> lock;
        if (round % 2) {
            lock.emplace(path);
            ASSERT_TRUE(lock->isHeld());
            QThread::msleep(600);
        }
        if (round != 3) {
            lock.reset();
            ASSERT_TRUE(awaitAcknowledged(20 + round * 37)) << writer.readAllStandardError().data();
        }
        ::kill(pid_t(writer.processId()), SIGKILL);
        writer.waitForFinished();
        lock.reset();
        acknowledged += writer.readAllStandardOutput();

        SqliteDatabase database;
        ASSERT_TRUE(database.open(path, SqliteDatabase::Mode::ReadOnly));
        SqliteStatement check = database.prepare("PRAGMA integrity_check");
        ASSERT_EQ(check.step(), SqliteStatement::Step::Row);
        EXPECT_EQ(check.text(0), "ok");
        QSet<QString> stored;
        SqliteStatement labels = database.prepare("SELECT label FROM Entry");
        while (labels.step() == SqliteStatement::Step::Row)
            stored.insert(labels.text(0));
        for (const QByteArray &line : acknowledged.split('\n')) {
            if (!line.isEmpty()) {
                EXPECT_TRUE(stored.contains(QString::fromLatin1(line))) << line.constData();
            }
        }
    }
}

// Entries turned sensitive and back while the process is killed at any moment: every value
// is somewhere after each kill, and the next start leaves no copy where it does not belong.
TEST_F(StoreFaultTest, KilledSensitivityChangeNeverLosesTheValue)
{
    QDir().mkpath(folder);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        QProcess flipper;
        flipper.start(MODEL_TEST_HELPER, {"flip-sensitivity", folder});
        ASSERT_TRUE(flipper.waitForStarted());
        QByteArray acknowledged;
        while (acknowledged.count('\n') < 3 + round * 2) {
            ASSERT_TRUE(flipper.waitForReadyRead(10000)) << flipper.readAllStandardError().data();
            acknowledged += flipper.readAllStandardOutput();
        }
        // Each round stops the change on its way at another moment.
        ::usleep(useconds_t(round * 397 % 3000));
        ::kill(pid_t(flipper.processId()), SIGKILL);
        flipper.waitForFinished();

        FileSecretStore file(folder);
        KeychainStore::setShared(std::make_unique<KeychainStore>(
            std::make_unique<SingleSecretStore>("file", std::make_unique<FileSecretStore>(folder)),
            folder + "/secrets.pending"));
        std::unique_ptr<DataController> store = openStore();
        ASSERT_TRUE(store);
        QSet<QString> sensitive;
        for (const Entry *entry : store->entries()) {
            const QString account = KeychainStore::account(entry->id());
            const QString expected = "value " + entry->label();
            if (entry->isSensitive()) {
                sensitive.insert(account);
                EXPECT_EQ(file.read(KeychainStore::service(), account).value, expected.toUtf8())
                    << qPrintable(entry->label());
            } else {
                EXPECT_EQ(entry->inlineValue(), expected);
            }
        }
        settleSecretCalls();
        const QList<QString> kept = file.items(KeychainStore::service()).items.keys();
        EXPECT_EQ(QSet<QString>(kept.begin(), kept.end()), sensitive) << "a stale copy stayed";
        EXPECT_TRUE(KeychainStore::shared().notes().isEmpty());
        store.reset();
        KeychainStore::setSharedBackend(std::make_unique<FakeSecretBackend>(&secrets));
    }
}

// Opens the store in a child that cannot write to the folder (as nobody when we are root,
// since root writes anywhere).
TEST_F(StoreFaultTest, ReadOnlyFolderGivesAClearError)
{
    const bool root = ::geteuid() == 0;
    const auto openInChild = [&] {
        QProcess child;
        if (root) {
            child.setChildProcessModifier([] {
                if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                    ::_exit(99);
            });
        }
        child.start(MODEL_TEST_HELPER, {"open-shared"});
        EXPECT_TRUE(child.waitForFinished(30000));
        return std::make_pair(child.exitCode(), QString::fromUtf8(child.readAllStandardError()));
    };
    const auto lockFolder = [&] {
        if (root) {
            // The child reaches the folder through the private test root but may not write
            // in it. Folders above the root are shared and are left alone.
            for (const QString &dir : {environment.root(), environment.dataHome(), folder})
                ::chmod(QFile::encodeName(dir).constData(), 0755);
        } else {
            ::chmod(QFile::encodeName(folder).constData(), 0500);
        }
    };

    QDir().mkpath(folder);
    lockFolder();
    auto [status, error] = openInChild();
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(error.startsWith("Failed to create ModelContainer: ")) << qPrintable(error);
    EXPECT_TRUE(error.contains(root ? "cannot create the database" : "it is read-only"))
        << qPrintable(error);
    EXPECT_EQ(fileMode(folder), root ? 0755u : 0500u) << "the folder was made writable";

    ::chmod(QFile::encodeName(folder).constData(), 0700);
    const std::unique_ptr<DataController> opened = openStore();
    ASSERT_TRUE(opened);
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), kNobody, kNobody), 0);
    }
    lockFolder();
    std::tie(status, error) = openInChild();
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(error.contains("cannot write in the folder " + folder)) << qPrintable(error);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
}

} // namespace
