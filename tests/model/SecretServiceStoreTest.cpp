// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside the desktop harness, against its gnome-keyring.
#include "KeyringDaemon.h"
#include "TestEnvironment.h"

#include "model/Preferences.h"
#include "model/secrets/KeychainStore.h"
#include "model/secrets/SecretBackendChoice.h"
#include "model/secrets/SecretServiceStore.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Status = SecretResult::Status;
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

TEST(SecretServiceStoreTest, WriteReplaceRelabelReadRemove)
{
    SecretServiceStore store;
    const QString account = KeychainStore::account(QUuid::createUuid());
    const QByteArray value
        = QString::fromUtf8("Gr\u00fc\u00dfe \U0001F511 \u6f22\u5b57 \u2022").toUtf8();

    EXPECT_EQ(store.read(kService, account).status, Status::Missing);
    EXPECT_TRUE(store.remove(kService, account).done());

    ASSERT_TRUE(store.write(kService, account, "Binzo: First", "first").done());
    const SecretResult replaced = store.write(kService, account, "Binzo: Token", value);
    ASSERT_TRUE(replaced.done()) << qPrintable(replaced.error);
    EXPECT_EQ(store.read(kService, account).value, value);
    EXPECT_EQ(lookUp(account), value);
    EXPECT_EQ(store.items(kService).items, (QMap<QString, QString> {{account, "Binzo: Token"}}));
    ASSERT_TRUE(store.relabel(kService, account, "Binzo: Renamed").done());
    EXPECT_EQ(store.items(kService).items.value(account), "Binzo: Renamed");

    EXPECT_TRUE(store.remove(kService, account).done());
    EXPECT_EQ(store.read(kService, account).status, Status::Missing);
    EXPECT_EQ(lookUp(account), std::nullopt);
}

// With the preference lost, items of ours in the keyring keep the keyring in use.
TEST(SecretServiceStoreTest, ItemsInTheKeyringKeepItChosen)
{
    QTemporaryDir dir;
    SecretServiceStore keyring;
    const QString account = KeychainStore::account(QUuid::createUuid());
    ASSERT_TRUE(keyring.write(kService, account, "Binzo: Kept", "kept").done());
    ASSERT_TRUE(writeFile(dir.filePath("preferences.json"), "{\"binzo.secretBack"));

    Preferences preferences(dir.filePath("preferences.json"));
    SecretBackendChoice choice(preferences, dir.path(), kService);
    QString name;
    SecretResult why;
    SecretBackend *backend = choice.current(&name, &why);
    EXPECT_EQ(name, "secret-service");
    ASSERT_TRUE(backend);
    EXPECT_EQ(backend->read(kService, account).value, "kept");
    EXPECT_EQ(preferences.string("binzo.secretBackend"), "secret-service");
    keyring.remove(kService, account);
}

// Last: it leaves the keyring locked for the rest of the process.
TEST(SecretServiceStoreLockedTest, LockedIsAnErrorNotAMissingValue)
{
    SecretServiceStore store;
    const QString account = KeychainStore::account(QUuid::createUuid());
    ASSERT_TRUE(store.write(kService, account, "Binzo: Locked", "behind the lock").done());
    ASSERT_TRUE(KeyringDaemon::lock());

    for (const SecretResult &result :
         {store.read(kService, account), store.write(kService, account, "Binzo: Locked", "changed"),
          store.remove(kService, account)}) {
        EXPECT_EQ(result.status, Status::Locked);
        EXPECT_FALSE(result.error.isEmpty());
    }
}

} // namespace
