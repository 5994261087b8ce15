// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeSecretBackend.h"
#include "SecretCalls.h"
#include "TestEnvironment.h"

#include "appearance/SecretStoreSettings.h"
#include "model/DataController.h"
#include "model/SecretJournal.h"
#include "model/SecretStores.h"

#include <gtest/gtest.h>

namespace {

using Status = SecretResult::Status;

// The keyring and the file as two fakes; the choice survives a "restart" in *chosen.
class TwoStores : public SecretStores
{
public:
    TwoStores(FakeSecretBackend::State *keyring, FakeSecretBackend::State *file, QString *chosen)
        : m_keyring(keyring)
        , m_file(file)
        , m_chosen(chosen)
    { }
    SecretBackend *current(QString *name, SecretResult *) override
    {
        *name = *m_chosen;
        return byName(*m_chosen);
    }
    SecretBackend *byName(const QString &name) override
    {
        if (name == "secret-service")
            return &m_keyring;
        return name == "file" ? &m_file : nullptr;
    }
    bool choose(const QString &name, QString *) override
    {
        *m_chosen = name;
        return true;
    }

private:
    FakeSecretBackend m_keyring;
    FakeSecretBackend m_file;
    QString *m_chosen;
};

struct SecretMigrationTest : ::testing::Test
{
    TestEnvironment environment;
    FakeSecretBackend::State keyring;
    FakeSecretBackend::State file;
    QString chosen = "secret-service";
    QString journal = environment.dataHome() + "/secrets.pending";
    std::unique_ptr<DataController> store;
    QList<Entry *> entries;
    QStringList accounts; // of the entries, sorted

    // Starts the app: the stores as they are, and the records of the data folder.
    void start()
    {
        store.reset();
        KeychainStore::setShared(std::make_unique<KeychainStore>(
            std::make_unique<TwoStores>(&keyring, &file, &chosen), journal));
        QString error;
        store = DataController::open(environment.dataHome() + "/binzo.sqlite3", &error);
        ASSERT_TRUE(store) << qPrintable(error);
        settleSecretCalls();
    }
    void SetUp() override
    {
        start();
        for (const char *label : {"GitHub", "Stripe", "PIN"}) {
            entries.append(addEntryAndWait(*store, store->binzo("Bank"), label,
                                           QString(label) + " secret", true));
            accounts.append(KeychainStore::account(entries.last()->id()));
        }
        accounts.sort();
        settleSecretCalls();
    }
    void TearDown() override
    {
        keyring.answerPrompt(false);
        settleSecretCalls();
    }
    QStringList accountsOf(const FakeSecretBackend::State &state) const
    {
        QStringList accounts = state.accounts();
        accounts.sort();
        return accounts;
    }
};

// Everything moves, or nothing does: a move that fails leaves every secret where it was and
// no copy in the other store.
TEST_F(SecretMigrationTest, MovingToTheOtherStoreIsAllOrNothing)
{
    const struct
    {
        const char *name;
        std::function<void(SecretMigrationTest &)> trouble;
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
TEST_F(SecretMigrationTest, InterruptedMoveLeavesTheOldStoreInUse)
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

TEST_F(SecretMigrationTest, SettingsShowWhereValuesLiveAndHowAMoveGoes)
{
    SecretStoreSettings settings(*store, KeychainStore::shared());
    settleSecretCalls();
    EXPECT_EQ(settings.location(), "System keyring");
    EXPECT_EQ(settings.statusText(), "Sensitive values are kept in: System keyring");
    settings.moveTo("file");
    EXPECT_TRUE(settings.isMoving());
    settleSecretCalls();
    EXPECT_FALSE(settings.isMoving());
    EXPECT_FALSE(settings.failed());
    EXPECT_EQ(settings.storeName(), "file");
    EXPECT_EQ(settings.statusText(),
              "Sensitive values are kept in: Encrypted file on this computer");

    keyring.setFailWrites(true);
    settings.moveTo("secret-service");
    settleSecretCalls();
    EXPECT_TRUE(settings.failed());
    EXPECT_TRUE(settings.statusText().startsWith("Nothing was moved: couldn't write"))
        << qPrintable(settings.statusText());
    EXPECT_EQ(settings.storeName(), "file");
}

} // namespace
