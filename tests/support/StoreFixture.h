// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeSecretBackend.h"
#include "FakeTimers.h"
#include "SecretCalls.h"
#include "TestEnvironment.h"

#include "model/Clock.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"

#include <gtest/gtest.h>

// A private home, an in-memory keyring behind the shared secret store, and retries that wait
// for the test's clock. Tests that include it link the model.
struct StoreFixture
{
    TestEnvironment environment;
    FakeSecretBackend::State secrets;
    FakeTimers timers;
    QString path = DataController::defaultDatabasePath();

    StoreFixture()
    {
        KeychainStore::setSharedBackend(std::make_unique<FakeSecretBackend>(&secrets));
    }
    ~StoreFixture()
    {
        // Calls still on their way end before the fake they use goes.
        secrets.resume();
        settleSecretCalls();
    }

    // The store at `at` (the app's own file by default), seeded when new.
    std::unique_ptr<DataController> openStore(const QString &at = {},
                                              const Clock &clock = Clock::system())
    {
        auto opened = DataController::open(at.isEmpty() ? path : at, KeychainStore::shared(),
                                           &timers, clock);
        EXPECT_TRUE(opened) << qPrintable(opened.error());
        return opened ? std::move(*opened) : nullptr;
    }
};
