// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside the desktop harness: the states a user's gnome-keyring can be in, made real by
// stopping, locking and restarting the harness's daemon.
#include "KeyringDaemon.h"
#include "QuickFakes.h"
#include "SecretCalls.h"
#include "TestEnvironment.h"

#include "model/secrets/SecretServiceStore.h"
#include "model/secrets/SecretStores.h"
#include "model/store/DataController.h"
#include "quick/QuickAccessViewModel.h"
#include "smartfind/SemanticSearch.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr int kCallTimeoutMs = 1000;

struct KeyringStatesTest : ::testing::Test
{
    TestEnvironment environment;
    SecretServiceStore keyring {kCallTimeoutMs}; // looks at the items from outside
    std::unique_ptr<DataController> store;

    void SetUp() override
    {
        KeychainStore::setShared(std::make_unique<KeychainStore>(
            std::make_unique<SingleSecretStore>(
                "secret-service", std::make_unique<SecretServiceStore>(kCallTimeoutMs)),
            environment.dataHome() + "/secrets.pending"));
        auto opened = DataController::open(environment.dataHome() + "/binzo.sqlite3",
                                           KeychainStore::shared());
        ASSERT_TRUE(opened) << qPrintable(opened.error());
        store = std::move(*opened);
    }

    std::optional<QByteArray> itemOf(const QUuid &id)
    {
        const SecretResult read
            = keyring.read(KeychainStore::service(), KeychainStore::account(id));
        return read.done() ? std::optional(read.value) : std::nullopt;
    }
};

// A stopped daemon takes the calls made meanwhile and carries them out when it goes on, so
// a call that got no answer is not given up: each change is completed, reported done then,
// and leaves nothing behind, whether the daemon went on soon after the timeout or much later.
TEST_F(KeyringStatesTest, ChangesMadeWhileTheDaemonIsStoppedAreCompleted)
{
    for (const int stoppedMs : {int(kCallTimeoutMs * 1.5), kCallTimeoutMs * 6}) {
        SCOPED_TRACE(stoppedMs);
        Entry *kept = addEntryAndWait(*store, store->binzo("Bank"), "Kept", "old", true);
        Entry *gone = addEntryAndWait(*store, store->binzo("Bank"), "Gone", "bye", true);
        ASSERT_TRUE(kept && gone);
        const QUuid goneId = gone->id();
        const std::optional<qint64> daemon = KeyringDaemon::pid();
        ASSERT_TRUE(daemon);
        ASSERT_TRUE(KeyringDaemon::stop(*daemon));

        Entry *added = nullptr;
        QString updated = "no answer";
        store->addEntry(store->binzo("Bank"), "New", "fresh", true,
                        [&](const Result<Entry *> &entry) { added = entry ? *entry : nullptr; });
        store->updateEntry(kept, "Kept", "new", true,
                           [&](const Result<void> &changed) { updated = changed.error(); });
        store->deleteEntry(gone);
        QTest::qWait(stoppedMs);
        EXPECT_FALSE(KeychainStore::shared().isAnswering());
        EXPECT_EQ(added, nullptr);
        EXPECT_EQ(updated, "no answer");

        ASSERT_TRUE(KeyringDaemon::resume(*daemon));
        ASSERT_TRUE(QTest::qWaitFor([&] { return added && updated.isEmpty(); }, 30000));
        settleSecretCalls();
        EXPECT_TRUE(KeychainStore::shared().isAnswering());
        EXPECT_EQ(itemOf(kept->id()), "new");
        EXPECT_EQ(itemOf(added->id()), "fresh");
        EXPECT_EQ(itemOf(goneId), std::nullopt);
        EXPECT_TRUE(KeychainStore::shared().notes().isEmpty());
        store->deleteEntry(kept);
        store->deleteEntry(added);
        settleSecretCalls();
    }
    EXPECT_TRUE(keyring.items(KeychainStore::service()).items.isEmpty());
}

// After the daemon restarted under us, the old session is gone: a new one is opened.
TEST_F(KeyringStatesTest, RestartedDaemonIsReconnected)
{
    Entry *entry = addEntryAndWait(*store, store->binzo("Bank"), "PIN", "1234", true);
    ASSERT_TRUE(entry);
    ASSERT_TRUE(KeyringDaemon::restart());
    const QString error = updateEntryAndWait(*store, entry, "PIN", "5678", true);
    EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
    EXPECT_EQ(itemOf(entry->id()), "5678");
}

// Locked: Return opens the prompt, which stays until the person answers (5 s here); afterwards
// Return copies, and the daemon survives. What rows and the toast say meanwhile is the view
// model's test, with the locked answer SecretServiceStoreLockedTest has the daemon give.
TEST_F(KeyringStatesTest, LockedKeyringWaitsForThePersonAtThePrompt)
{
    Entry *entry = addEntryAndWait(*store, store->binzo("Bank"), "PIN", "1234", true);
    ASSERT_TRUE(entry);
    const std::optional<qint64> daemon = KeyringDaemon::pid();
    FakeClipboard clipboard;
    FakeTimers timers;
    QuickAccessViewModel view(*store, SemanticSearch::shared(), clipboard, timers);
    view.selectBinzo(2);
    ASSERT_TRUE(KeyringDaemon::lock());

    view.resetForShow();
    view.copySelected();
    ASSERT_TRUE(QTest::qWaitFor([&] { return KeychainStore::shared().isUnlocking(); }, 5000));
    bool answered = false;
    std::thread person([&] {
        std::this_thread::sleep_for(5s);
        answered = KeyringDaemon::answerUnlockPrompt(10000);
    });
    QTest::qWait(4000);
    EXPECT_TRUE(KeychainStore::shared().isUnlocking()) << "the prompt is still up";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !KeychainStore::shared().isUnlocking(); }, 20000));
    person.join();
    EXPECT_TRUE(answered);

    view.copySelected();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !clipboard.writes.isEmpty(); }, 5000));
    EXPECT_EQ(clipboard.writes.last().value, "1234");
    EXPECT_EQ(KeyringDaemon::pid(), daemon);
}

} // namespace
