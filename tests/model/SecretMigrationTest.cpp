// SPDX-License-Identifier: GPL-3.0-or-later
#include "TwoSecretStores.h"

#include "model/secrets/SecretJournal.h"

namespace {

using Status = SecretResult::Status;

// Everything moves, or nothing does: a move that fails leaves every secret where it was and
// no copy in the other store.
TEST_F(TwoSecretStoresTest, MovingToTheOtherStoreIsAllOrNothing)
{
    const struct
    {
        const char *name;
        std::function<void(TwoSecretStoresTest &)> trouble;
        Status outcome;
    } cases[] = {
        // Failures first: each leaves the secrets where they were for the next case.
        {"the file refuses writes", [](auto &t) { t.file.setFailWrites(true); }, Status::Failed},
        {"the keyring stays locked",
         [](auto &t) {
             t.keyring.setLocked(true);
             t.keyring.answerPrompt(false);
         },
         Status::Locked},
        {"nothing in the way", [](auto &) {}, Status::Done},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        c.trouble(*this);
        SecretResult result;
        QList<int> progress;
        QObject context;
        KeychainStore::shared().migrate(
            "file", store->secretItems(), &context, [&](int copied, int) { progress << copied; },
            [&](const SecretResult &outcome) { result = outcome; });
        settleSecretCalls();
        EXPECT_EQ(result.status, c.outcome) << qPrintable(result.error);
        EXPECT_TRUE(KeychainStore::shared().notes().isEmpty());
        if (c.outcome != Status::Done) {
            EXPECT_FALSE(result.error.isEmpty());
            EXPECT_EQ(chosen, "secret-service");
            EXPECT_EQ(accountsOf(keyring), accounts);
            EXPECT_TRUE(file.accounts().isEmpty());
            file.setFailWrites(false);
            keyring.setLocked(false);
            continue;
        }
        EXPECT_EQ(progress, QList<int>({1, 2, 3}));
        EXPECT_EQ(chosen, "file");
        EXPECT_EQ(KeychainStore::shared().storeName(), "file");
        EXPECT_TRUE(keyring.accounts().isEmpty());
        EXPECT_EQ(accountsOf(file), accounts);
        const QString account = KeychainStore::account(entries.first()->id());
        EXPECT_EQ(file.value(account), "GitHub secret");
        EXPECT_EQ(file.label(account), "Binzo: GitHub");
    }
}

// A move cut short by the end of the process (copies made, the store in use not switched):
// the next start removes the copies; every secret is still read from the old store.
TEST_F(TwoSecretStoresTest, InterruptedMoveLeavesTheOldStoreInUse)
{
    QList<SecretJournal::Note> copies;
    for (const QString &account : accounts.mid(0, 2)) {
        file.put(account, "copy");
        copies.append({"file", account});
    }
    store.reset();
    KeychainStore::setShared(nullptr);
    QString error;
    ASSERT_TRUE(SecretJournal(journal).add(copies, &error)) << qPrintable(error);

    start();
    EXPECT_EQ(chosen, "secret-service");
    EXPECT_TRUE(file.accounts().isEmpty());
    EXPECT_EQ(accountsOf(keyring), accounts);
    EXPECT_TRUE(KeychainStore::shared().notes().isEmpty());
}

} // namespace
