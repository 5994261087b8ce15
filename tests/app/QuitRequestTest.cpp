// SPDX-License-Identifier: GPL-3.0-or-later
#include "../model/FakeSecretBackend.h"
#include "../model/SecretCalls.h"
#include "FakeTimers.h"
#include "ForeignLock.h"
#include "TestEnvironment.h"

#include "app/QuitRequest.h"
#include "model/store/DataController.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace std::chrono_literals;

// Quit waits a few seconds for changes that cannot be saved yet; then it asks rather than
// dropping them, and only the user's "Quit Anyway" ends Binzo with them unsaved.
TEST(QuitRequestTest, QuitsOnlyWithEverythingSavedOrTheUsersConsent)
{
    const struct
    {
        const char *name;
        std::optional<std::chrono::milliseconds> lockEndsAfter; // absent: held throughout
        bool quitAnyway; // the answer, if asked
        bool asked;
        bool quits;
    } cases[] = {
        {"saved at once", 0ms, false, false, true},
        {"saved by a retry", 1s, false, false, true},
        {"kept running", std::nullopt, false, true, false},
        {"quit anyway", std::nullopt, true, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestEnvironment environment;
        const QString path = environment.dataHome() + "/binzo.sqlite3";
        FakeTimers timers;
        auto opened = DataController::open(path, KeychainStore::shared(), &timers);
        ASSERT_TRUE(opened) << qPrintable(opened.error());
        std::unique_ptr<DataController> store = std::move(*opened);
        ForeignLock lock(path);
        store->addEntry(store->binzos().first(), "Phone", "+49 30 123", false);
        if (c.lockEndsAfter == 0ms)
            lock.release();

        QStringList questions;
        bool quit = false;
        QuitRequest request(
            *store, timers,
            [&](const QString &question) {
                questions.append(question);
                return c.quitAnyway;
            },
            [&] { quit = true; });
        request.start();
        if (c.lockEndsAfter && *c.lockEndsAfter > 0ms) {
            timers.advance(*c.lockEndsAfter);
            lock.release();
        }
        timers.advance(QuitRequest::kPatience + 1s);

        EXPECT_EQ(quit, c.quits);
        EXPECT_EQ(questions,
                  c.asked ? QStringList {"1 change could not be saved: database is locked"}
                          : QStringList());
    }
}

// A sensitive value still waiting for a keyring that does not answer is a change not saved.
TEST(QuitRequestTest, AValueWaitingForTheKeyringIsAnUnsavedChange)
{
    TestEnvironment environment;
    FakeSecretBackend::State secrets;
    KeychainStore::setSharedBackend(std::make_unique<FakeSecretBackend>(&secrets));
    FakeTimers timers;
    auto opened = DataController::open(environment.dataHome() + "/binzo.sqlite3",
                                       KeychainStore::shared(), &timers);
    ASSERT_TRUE(opened) << qPrintable(opened.error());
    std::unique_ptr<DataController> store = std::move(*opened);
    secrets.hang();
    store->addEntry(store->binzos().first(), "Token", "ghp_secret", true);

    QStringList questions;
    QuitRequest request(
        *store, timers,
        [&](const QString &question) {
            questions.append(question);
            return true;
        },
        [] {});
    request.start();
    timers.advance(QuitRequest::kPatience + 1s);
    EXPECT_EQ(questions,
              QStringList {"1 change could not be saved: the system keyring does not answer"});
    secrets.resume();
    settleSecretCalls();
}

} // namespace
