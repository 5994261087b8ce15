// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside the desktop harness, against its unlocked gnome-keyring.
#include "TestEnvironment.h"

#include "model/Preferences.h"
#include "model/secrets/KeychainStore.h"
#include "model/secrets/SecretBackendChoice.h"
#include "model/secrets/SecretServiceStore.h"
#include "model/store/DataController.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kService = "com.qorvastine.binzo.secrets";

// What another tool sees in the keyring; absent when it finds no item.
std::optional<QByteArray> lookUp(const QString &account)
{
    QProcess tool;
    tool.start("secret-tool", {"lookup", "service", kService, "account", account});
    if (!tool.waitForFinished(10000) || tool.exitCode() != 0)
        return std::nullopt;
    return tool.readAllStandardOutput();
}

TEST(SecretServiceStoreTest, WriteReplaceReadRemove)
{
    SecretServiceStore store;
    const QString account = KeychainStore::account(QUuid::createUuid());
    const QByteArray value
        = QString::fromUtf8("Gr\u00fc\u00dfe \U0001F511 \u6f22\u5b57 \u2022").toUtf8();

    EXPECT_EQ(store.read(kService, account), std::nullopt);
    EXPECT_TRUE(store.lastError().isEmpty()) << qPrintable(store.lastError());
    EXPECT_TRUE(store.remove(kService, account)) << qPrintable(store.lastError());

    ASSERT_TRUE(store.write(kService, account, "first")) << qPrintable(store.lastError());
    ASSERT_TRUE(store.write(kService, account, value)) << qPrintable(store.lastError());
    EXPECT_EQ(store.read(kService, account), value);
    EXPECT_EQ(lookUp(account), value);

    EXPECT_TRUE(store.remove(kService, account));
    EXPECT_EQ(store.read(kService, account), std::nullopt);
    EXPECT_EQ(lookUp(account), std::nullopt);
}

TEST(SecretServiceStoreTest, FirstChoiceIsTheSecretService)
{
    QTemporaryDir dir;
    Preferences preferences(dir.filePath("preferences.json"));
    QString error;
    EXPECT_TRUE(SecretBackendChoice::create(preferences, dir.path(), &error));
    EXPECT_EQ(preferences.string("binzo.secretBackend"), "secret-service");
}

TEST(SecretServiceStoreTest, SensitiveEntriesReachTheKeyringNotTheDatabase)
{
    TestEnvironment environment;
    KeychainStore::setSharedBackend(std::make_unique<SecretServiceStore>());
    const QString path = environment.dataHome() + "/binzo.sqlite3";
    QString error;
    auto store = DataController::open(path, &error);
    ASSERT_TRUE(store) << qPrintable(error);

    const QString value = "ghp_" + QUuid::createUuid().toString(QUuid::Id128);
    Entry *entry = store->addEntry(store->binzo("API Keys"), "GitHub", value, true);
    ASSERT_TRUE(entry) << qPrintable(KeychainStore::shared().lastError());
    EXPECT_EQ(entry->resolvedValue(), value);
    EXPECT_EQ(lookUp(KeychainStore::account(entry->id())), value.toUtf8());
    for (const QString &file : {path, path + "-wal"}) {
        QFile bytes(file);
        ASSERT_TRUE(bytes.open(QIODevice::ReadOnly)) << qPrintable(file);
        EXPECT_FALSE(bytes.readAll().contains(value.toUtf8())) << qPrintable(file);
    }

    store->deleteEntry(entry);
    EXPECT_EQ(lookUp(KeychainStore::account(entry->id())), std::nullopt);
}

// Last: it leaves the keyring locked for the rest of the process.
TEST(SecretServiceStoreLockedTest, LockedIsAnErrorNotAMissingValue)
{
    SecretServiceStore store;
    const QString account = KeychainStore::account(QUuid::createUuid());
    ASSERT_TRUE(store.write(kService, account, "behind the lock"));
    QProcess lock;
    lock.start("gdbus",
               {"call", "--session", "--dest", "org.freedesktop.secrets", "--object-path",
                "/org/freedesktop/secrets", "--method", "org.freedesktop.Secret.Service.Lock",
                "['/org/freedesktop/secrets/collection/login']"});
    ASSERT_TRUE(lock.waitForFinished(10000));
    ASSERT_EQ(lock.exitCode(), 0) << lock.readAllStandardError().constData();

    EXPECT_EQ(store.read(kService, account), std::nullopt);
    EXPECT_FALSE(store.lastError().isEmpty());
    EXPECT_FALSE(store.write(kService, account, "changed"));
    EXPECT_FALSE(store.lastError().isEmpty());
}

} // namespace
