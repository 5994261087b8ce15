// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeSecretBackend.h"
#include "SecretCalls.h"
#include "TestEnvironment.h"

#include "model/secrets/SecretStores.h"
#include "model/store/DataController.h"

#include <gtest/gtest.h>

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

// Three secrets in the keyring, the file empty, and the records of a fresh data folder.
struct TwoSecretStoresTest : ::testing::Test
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
        auto opened = DataController::open(environment.dataHome() + "/binzo.sqlite3",
                                           KeychainStore::shared());
        ASSERT_TRUE(opened) << qPrintable(opened.error());
        store = std::move(*opened);
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
