// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuickFakes.h"

#include "model/Preferences.h"
#include "quick/SecretClipboard.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// A copied secret leaves the clipboard after the chosen delay and at quit, but only while the
// clipboard still holds it: what was copied since, here or elsewhere, stays, and so do
// ordinary values.
TEST(SecretClipboardTest, ClearsOnlyTheSecretItPutThere)
{
    const struct
    {
        const char *name;
        std::chrono::seconds clearAfter;
        std::function<void(SecretClipboard &, FakeClipboard &, FakeTimers &)> use;
        QString heldAfterTenMinutes;
        QString heldAfterQuit;
    } cases[] = {
        {"secret", 30s,
         [](SecretClipboard &clipboard, FakeClipboard &system, FakeTimers &timers) {
             clipboard.setText("pin 4711", true);
             timers.advance(29s);
             EXPECT_EQ(system.current, "pin 4711") << "cleared early";
         },
         "", ""},
        {"ordinary value", 30s,
         [](SecretClipboard &clipboard, FakeClipboard &, FakeTimers &) {
             clipboard.setText("+49 30 123", false);
         },
         "+49 30 123", "+49 30 123"},
        {"copied elsewhere since", 30s,
         [](SecretClipboard &clipboard, FakeClipboard &system, FakeTimers &timers) {
             clipboard.setText("pin 4711", true);
             timers.advance(5s);
             system.copyElsewhere("a note");
         },
         "a note", "a note"},
        {"ordinary value copied here since", 30s,
         [](SecretClipboard &clipboard, FakeClipboard &, FakeTimers &timers) {
             clipboard.setText("pin 4711", true);
             timers.advance(20s);
             clipboard.setText("+49 30 123", false);
         },
         "+49 30 123", "+49 30 123"},
        {"second secret keeps its own time", 30s,
         [](SecretClipboard &clipboard, FakeClipboard &system, FakeTimers &timers) {
             clipboard.setText("pin 4711", true);
             timers.advance(20s);
             clipboard.setText("pin 0815", true);
             timers.advance(20s);
             EXPECT_EQ(system.current, "pin 0815") << "the first copy's timer cleared it";
         },
         "", ""},
        {"never", 0s,
         [](SecretClipboard &clipboard, FakeClipboard &, FakeTimers &) {
             clipboard.setText("pin 4711", true);
         },
         "pin 4711", "pin 4711"},
        {"quit before the delay", 120s,
         [](SecretClipboard &clipboard, FakeClipboard &system, FakeTimers &timers) {
             clipboard.setText("pin 4711", true);
             timers.advance(60s);
             clipboard.clearSecret();
             EXPECT_EQ(system.current, "");
         },
         "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeClipboard system;
        FakeTimers timers;
        SecretClipboard clipboard(system, timers, [&] { return c.clearAfter; });
        c.use(clipboard, system, timers);
        timers.advance(10min);
        EXPECT_EQ(system.current, c.heldAfterTenMinutes);
        clipboard.clearSecret();
        EXPECT_EQ(system.current, c.heldAfterQuit);
    }
}

TEST(SecretClipboardTest, DelayComesFromThePreference)
{
    QTemporaryDir dir;
    Preferences preferences(dir.filePath("preferences.json"));
    const struct
    {
        std::optional<qint64> stored; // absent: not set
        std::chrono::seconds expected;
    } cases[] = {{std::nullopt, 30s}, {0, 0s}, {10, 10s}, {120, 120s}, {-5, 30s}};
    for (const auto &c : cases) {
        if (c.stored)
            preferences.setInteger(SecretClipboard::kPreferenceKey, *c.stored);
        EXPECT_EQ(SecretClipboard::clearAfter(preferences), c.expected);
    }
    preferences.setString(SecretClipboard::kPreferenceKey, "10");
    EXPECT_EQ(SecretClipboard::clearAfter(preferences), 30s);
}

} // namespace
