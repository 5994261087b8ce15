// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "../model/FakeSecretBackend.h"
#include "FakeTimers.h"
#include "TestEnvironment.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"

#include <gtest/gtest.h>

#include <memory>

// A fresh seeded store ("Personal", "API Keys", "Bank") and an in-memory secret store.
class EditorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KeychainStore::setSharedBackend(std::make_unique<FakeSecretBackend>(&m_secrets));
        auto opened = DataController::open(databasePath(), KeychainStore::shared(), &m_timers);
        ASSERT_TRUE(opened) << qPrintable(opened.error());
        m_data = std::move(*opened);
    }

    Binzo *binzo(const QString &name) const { return m_data->binzo(name); }
    QString databasePath() const { return m_environment.root() + "/binzo.sqlite3"; }

    TestEnvironment m_environment;
    FakeSecretBackend::State m_secrets;
    FakeTimers m_timers; // the store's retries
    std::unique_ptr<DataController> m_data;
};
