// SPDX-License-Identifier: GPL-3.0-or-later
#include "ForeignLock.h"
#include "StoreFixture.h"

#include "app/QuitRequest.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace std::chrono_literals;

// Quit waits a few seconds for changes that cannot be saved yet (the file locked, or a
// sensitive value waiting for a keyring that does not answer); then it asks rather than
// dropping them, and only the user's "Quit Anyway" ends Binzo with them unsaved.
TEST(QuitRequestTest, QuitsOnlyWithEverythingSavedOrTheUsersConsent)
{
    const QString locked = "1 change could not be saved: database is locked";
    const struct
    {
        const char *name;
        std::optional<std::chrono::milliseconds> lockEndsAfter; // absent: held throughout
        bool keyringHangs; // the change is then a sensitive value
        bool quitAnyway; // the answer, if asked
        QString asked;
        bool quits;
    } cases[] = {
        {"saved at once", 0ms, false, false, {}, true},
        {"saved by a retry", 1s, false, false, {}, true},
        {"kept running", std::nullopt, false, false, locked, false},
        {"quit anyway", std::nullopt, false, true, locked, true},
        {"keyring silent", 0ms, true, true,
         "1 change could not be saved: the system keyring does not answer", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        StoreFixture fixture;
        std::unique_ptr<DataController> store = fixture.openStore();
        ASSERT_TRUE(store);
        ForeignLock lock(fixture.path);
        if (c.keyringHangs)
            fixture.secrets.hang();
        store->addEntry(store->binzos().first(), "Phone", "+49 30 123", c.keyringHangs);
        if (c.lockEndsAfter == 0ms)
            lock.release();

        QStringList questions;
        bool quit = false;
        QuitRequest request(
            *store, fixture.timers,
            [&](const QString &question) {
                questions.append(question);
                return c.quitAnyway;
            },
            [&] { quit = true; });
        request.start();
        if (c.lockEndsAfter && *c.lockEndsAfter > 0ms) {
            fixture.timers.advance(*c.lockEndsAfter);
            lock.release();
        }
        fixture.timers.advance(QuitRequest::kPatience + 1s);

        EXPECT_EQ(quit, c.quits);
        EXPECT_EQ(questions, c.asked.isEmpty() ? QStringList() : QStringList {c.asked});
        fixture.secrets.resume();
        settleSecretCalls();
    }
}

} // namespace
