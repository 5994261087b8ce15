// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuickFakes.h"

#include "model/Preferences.h"
#include "quick/SecretClipboard.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// What happens to the clipboard, step by step.
struct Step
{
    enum Kind { CopySecret, CopyOrdinary, CopyElsewhere, Wait, Quit, Holds } kind;
    QString value;
    std::chrono::seconds wait {0};
};
const auto copySecret = [](const QString &value) { return Step {Step::CopySecret, value}; };
const auto copyOrdinary = [](const QString &value) { return Step {Step::CopyOrdinary, value}; };
const auto copyElsewhere = [](const QString &value) { return Step {Step::CopyElsewhere, value}; };
const auto wait = [](std::chrono::seconds time) { return Step {Step::Wait, {}, time}; };
const auto quit = [] { return Step {Step::Quit, {}}; };
const auto holds = [](const QString &value) { return Step {Step::Holds, value}; };

// A copied secret leaves the clipboard after the chosen delay and at quit, but only while the
// clipboard still holds it: what was copied since, here or elsewhere, stays, and so do
// ordinary values.
TEST(SecretClipboardTest, ClearsOnlyTheSecretItPutThere)
{
    const struct
    {
        const char *name;
        std::chrono::seconds clearAfter;
        QList<Step> steps;
    } cases[] = {
        {"secret", 30s, {copySecret("pin"), wait(29s), holds("pin"), wait(1s), holds("")}},
        {"ordinary value",
         30s,
         {copyOrdinary("phone"), wait(10min), holds("phone"), quit(), holds("phone")}},
        {"copied elsewhere since",
         30s,
         {copySecret("pin"), wait(5s), copyElsewhere("note"), wait(10min), holds("note"), quit(),
          holds("note")}},
        {"ordinary value copied here since",
         30s,
         {copySecret("pin"), wait(20s), copyOrdinary("phone"), wait(10min), holds("phone")}},
        {"a second secret keeps its own time",
         30s,
         {copySecret("pin"), wait(20s), copySecret("pin 2"), wait(20s), holds("pin 2"), wait(10s),
          holds("")}},
        {"never", 0s, {copySecret("pin"), wait(10min), holds("pin"), quit(), holds("pin")}},
        {"quit before the delay", 120s, {copySecret("pin"), wait(60s), quit(), holds("")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeClipboard system;
        FakeTimers timers;
        SecretClipboard clipboard(system, timers, [&] { return c.clearAfter; });
        for (const Step &step : c.steps) {
            switch (step.kind) {
            case Step::CopySecret:
            case Step::CopyOrdinary:
                clipboard.setText(step.value, step.kind == Step::CopySecret);
                break;
            case Step::CopyElsewhere:
                system.copyElsewhere(step.value);
                break;
            case Step::Wait:
                timers.advance(step.wait);
                break;
            case Step::Quit:
                clipboard.clearSecret();
                break;
            case Step::Holds:
                EXPECT_EQ(system.current, step.value) << "after " << timers.now.count() << " ms";
                break;
            }
        }
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
    } cases[] = {{std::nullopt, 30s}, {0, 0s}, {120, 120s}, {-5, 30s}};
    for (const auto &c : cases) {
        if (c.stored)
            preferences.setInteger(SecretClipboard::kPreferenceKey, *c.stored);
        EXPECT_EQ(SecretClipboard::clearAfter(preferences), c.expected);
    }
    preferences.setString(SecretClipboard::kPreferenceKey, "10");
    EXPECT_EQ(SecretClipboard::clearAfter(preferences), 30s);
}

} // namespace
