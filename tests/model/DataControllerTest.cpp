// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreFixture.h"

#include "model/store/SqliteDatabase.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

struct DataControllerTest : ::testing::Test, StoreFixture
{
    // A second further at every reading: each change has its own instant.
    struct SteppingClock : Clock
    {
        mutable QDateTime next {QDate(2024, 5, 1), QTime(9, 0), Qt::UTC};
        QDateTime now() const override { return std::exchange(next, next.addSecs(1)); }
    } clock;

    std::unique_ptr<DataController> openStore() { return StoreFixture::openStore({}, clock); }

    // Changes the file behind the controller's back, as another tool would.
    void execute(const char *sql)
    {
        SqliteDatabase database;
        ASSERT_TRUE(database.open(path, SqliteDatabase::Mode::ReadWrite));
        ASSERT_TRUE(database.exec(sql)) << qPrintable(database.lastError());
    }
};

TEST_F(DataControllerTest, BinzoNamedComparesCaseInsensitively)
{
    auto store = openStore();
    const struct
    {
        QString query;
        const char *found; // nullptr: nothing
    } cases[] = {
        {"bank", "Bank"},       {"BANK", "Bank"},   {"api keys", "API Keys"},
        {"Bank ", nullptr},     {" Bank", nullptr}, {QString::fromUtf8("B\u00e4nk"), nullptr},
        {"Personal2", nullptr}, {"", nullptr},
    };
    for (const auto &c : cases) {
        Binzo *binzo = store->binzo(c.query);
        if (c.found) {
            ASSERT_TRUE(binzo) << qPrintable(c.query);
            EXPECT_EQ(binzo->name(), c.found);
        } else {
            EXPECT_EQ(binzo, nullptr) << qPrintable(c.query);
        }
    }
    EXPECT_EQ(store->binzo(QUuid::createUuid()), nullptr);
}

TEST_F(DataControllerTest, RecordsSurviveReopeningUnchanged)
{
    QList<Entry::Fields> before;
    {
        auto store = openStore();
        Binzo *bank = store->binzo("Bank");
        Entry *iban = store->addEntry(bank, "IBAN", "DE89 3704 0044 0532 0130 00", false);
        ASSERT_TRUE(addEntryAndWait(*store, bank, "PIN", "4711", true));
        // An entry whose compartment does not exist is still kept.
        Binzo orphanBinzo("Gone", "trash", "000000", 9, {});
        store->addEntry(&orphanBinzo, QString::fromUtf8("Caf\u00e9 \U0001F600"), "", false);
        store->markUsed(iban);
        store->binzo("Personal")->setName("Private");
        store->save();
        for (Entry *entry : store->entries())
            before.append(entry->fields());
    }
    auto store = openStore();
    QList<Entry::Fields> after;
    for (Entry *entry : store->entries())
        after.append(entry->fields());
    EXPECT_EQ(after, before);
    EXPECT_EQ(store->binzos().size(), 3) << "a reopened store is not seeded again";
    EXPECT_EQ(store->binzos().first()->name(), "Private");
    EXPECT_EQ(secrets.value(KeychainStore::account(store->entries()[1]->id())), "4711");
}

TEST_F(DataControllerTest, SensitivityMovesTheValueBothWays)
{
    auto store = openStore();
    Entry *entry = store->addEntry(store->binzo("Bank"), "Card", "4111 1111 1111 1111", false);
    const QString account = KeychainStore::account(entry->id());

    ASSERT_EQ(updateEntryAndWait(*store, entry, "Card", "4111 1111 1111 1111", true), "");
    EXPECT_TRUE(entry->isSensitive());
    EXPECT_EQ(entry->inlineValue(), std::nullopt);
    EXPECT_EQ(secrets.value(account), "4111 1111 1111 1111");
    ASSERT_EQ(updateEntryAndWait(*store, entry, "Debit card", "4111 1111 1111 1111", true), "");
    EXPECT_EQ(secrets.label(account), "Binzo: Debit card");

    ASSERT_EQ(updateEntryAndWait(*store, entry, "Visa", "4111 1111 1111 1112", false), "");
    settleSecretCalls();
    EXPECT_FALSE(entry->isSensitive());
    EXPECT_EQ(entry->inlineValue(), "4111 1111 1111 1112");
    EXPECT_EQ(secrets.value(account), std::nullopt);
    EXPECT_EQ(entry->label(), "Visa");
    EXPECT_GT(entry->updatedAt(), entry->createdAt());
}

// The value is in at least one place whatever happens to the save of the record, and a
// copy the change leaves behind goes at the next start.
TEST_F(DataControllerTest, SensitivityChangeWhoseSaveFailsKeepsTheValue)
{
    for (const bool toSensitive : {true, false}) {
        SCOPED_TRACE(toSensitive ? "ordinary to sensitive" : "sensitive to ordinary");
        QUuid id;
        {
            auto store = openStore();
            Entry *entry
                = addEntryAndWait(*store, store->binzo("Bank"), "PIN", "9876", !toSensitive);
            ASSERT_TRUE(entry);
            id = entry->id();
            execute("CREATE TRIGGER refuse BEFORE UPDATE ON Entry "
                    "BEGIN SELECT RAISE(ABORT, 'disk is full'); END");
            EXPECT_EQ(updateEntryAndWait(*store, entry, "PIN", "9876", toSensitive), "");
            settleSecretCalls();
            // The record still says what it said: the secret store keeps the value meanwhile.
            EXPECT_EQ(secrets.value(KeychainStore::account(id)), "9876");
        } // the app ends with the change unsaved
        execute("DROP TRIGGER refuse");
        auto store = openStore();
        settleSecretCalls();
        Entry *entry = store->entries().first();
        EXPECT_EQ(entry->isSensitive(), !toSensitive);
        EXPECT_EQ(entry->inlineValue(),
                  toSensitive ? std::optional<QString>("9876") : std::nullopt);
        EXPECT_EQ(secrets.value(KeychainStore::account(id)),
                  toSensitive ? std::nullopt : std::optional<QByteArray>("9876"));
        store->deleteEntry(entry);
        settleSecretCalls();
    }
}

// Notes left by a run that ended early are acted on at the next start: an item stays only
// for a sensitive entry; old item labels follow their entry's.
TEST_F(DataControllerTest, NextStartSettlesLeftoverItemsAndLabels)
{
    QString sensitiveAccount;
    {
        auto store = openStore();
        Entry *entry = addEntryAndWait(*store, store->binzo("Bank"), "PIN", "1234", true);
        ASSERT_TRUE(entry);
        sensitiveAccount = KeychainStore::account(entry->id());
    }
    const QString orphan = KeychainStore::account(QUuid::createUuid());
    const QString unrelated = KeychainStore::account(QUuid::createUuid());
    secrets.put(orphan, "left behind");
    secrets.put(unrelated, "not ours to judge");
    secrets.put(sensitiveAccount, "1234", "com.qorvastine.binzo.secrets");
    ASSERT_TRUE(KeychainStore::shared().note(QUuid::fromString(orphan)));
    ASSERT_TRUE(KeychainStore::shared().note(QUuid::fromString(sensitiveAccount)));

    auto store = openStore();
    settleSecretCalls();
    EXPECT_EQ(secrets.value(orphan), std::nullopt);
    EXPECT_EQ(secrets.value(unrelated), "not ours to judge");
    EXPECT_EQ(secrets.value(sensitiveAccount), "1234");
    EXPECT_EQ(secrets.label(sensitiveAccount), "Binzo: PIN");
    EXPECT_TRUE(KeychainStore::shared().notes().isEmpty());
}

TEST_F(DataControllerTest, SensitiveSecretIsRemovedEvenWhenTheDeletionIsNotSaved)
{
    auto store = openStore();
    Entry *entry = addEntryAndWait(*store, store->binzo("Bank"), "PIN", "9876", true);
    execute("CREATE TRIGGER refuse BEFORE DELETE ON Entry "
            "BEGIN SELECT RAISE(ABORT, 'locked'); END");
    store->deleteEntry(entry);
    settleSecretCalls();
    EXPECT_TRUE(secrets.accounts().isEmpty());
    EXPECT_TRUE(store->entries().isEmpty());
    EXPECT_EQ(entry->label(), "PIN"); // still a valid object for views holding it

    execute("DROP TRIGGER refuse");
    EXPECT_TRUE(store->save());
    store.reset();
    EXPECT_TRUE(openStore()->entries().isEmpty());
}

} // namespace
