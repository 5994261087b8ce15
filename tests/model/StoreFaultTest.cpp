// SPDX-License-Identifier: GPL-3.0-or-later
#include "SecretCalls.h"
#include "TestEnvironment.h"

#include "model/store/DataController.h"
#include "model/secrets/FileSecretStore.h"
#include "model/secrets/SecretStores.h"
#include "model/store/SqliteDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

struct StoreFaultTest : ::testing::Test
{
    TestEnvironment environment;
    QString folder = environment.dataHome() + "/binzo";
    QString path = folder + "/binzo.sqlite3";
};

TEST_F(StoreFaultTest, KilledWriterLeavesEveryAcknowledgedCommit)
{
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        QProcess writer;
        writer.start(MODEL_TEST_HELPER, {"add-entries", path});
        ASSERT_TRUE(writer.waitForStarted());
        QByteArray acknowledged;
        // Kill at a different moment of each round, after some commits.
        while (acknowledged.count('\n') < 20 + round * 37) {
            ASSERT_TRUE(writer.waitForReadyRead(10000)) << writer.readAllStandardError().data();
            acknowledged += writer.readAllStandardOutput();
        }
        ::kill(pid_t(writer.processId()), SIGKILL);
        writer.waitForFinished();
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
        QString error;
        auto store = DataController::open(path, &error);
        ASSERT_TRUE(store) << qPrintable(error);
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
        KeychainStore::setShared(nullptr);
    }
}

TEST_F(StoreFaultTest, NonSqliteFileStopsTheProcessAndStaysIntact)
{
    QDir().mkpath(folder);
    const char text[] = "My shopping list\n\0\1\2 not a database";
    const QByteArray original(text, sizeof text - 1);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(original);
    }
    QProcess app;
    app.start(MODEL_TEST_HELPER, {"open-shared"});
    ASSERT_TRUE(app.waitForFinished(30000));
    EXPECT_NE(app.exitCode(), 0);
    const QString error = QString::fromUtf8(app.readAllStandardError());
    EXPECT_TRUE(error.startsWith("Failed to create ModelContainer: ")) << qPrintable(error);
    EXPECT_TRUE(error.contains("not an SQLite file")) << qPrintable(error);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), original);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"binzo.sqlite3"}));
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
        child.start(MODEL_TEST_HELPER, {"open", path});
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
    EXPECT_TRUE(error.contains("cannot create the database")) << qPrintable(error);
    EXPECT_TRUE(error.contains("Permission denied")) << qPrintable(error);

    ::chmod(QFile::encodeName(folder).constData(), 0700);
    ASSERT_TRUE(DataController::open(path, &error)) << qPrintable(error);
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
