// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Shortcut.h"
#include "hotkeys/KeyboardLayout.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace Hotkeys;
namespace M = Hotkeys::Modifiers;

namespace {

struct UsLayout : ::testing::Test
{
    void SetUp() override { setCurrentKeyboardLayout(KeyboardLayout::fromNames("us")); }
    void TearDown() override { setCurrentKeyboardLayout(nullptr); }
};

// The Carbon numbers are the stored form of shortcuts; the Qt column is what each key is
// called on Linux (Ctrl plays Command, Super plays Control).
TEST(Modifiers, EachOfTheFiveConvertsAndOtherBitsVanish)
{
    const struct
    {
        M::EventFlags flags;
        M::CarbonFlags carbon;
        Qt::KeyboardModifiers qt;
    } cases[] = {
        {M::kControl, 0x1000, Qt::MetaModifier},
        {M::kOption, 0x800, Qt::AltModifier},
        {M::kShift, 0x200, Qt::ShiftModifier},
        {M::kCommand, 0x100, Qt::ControlModifier},
        {M::kFunction, 0x20000, Qt::NoModifier},
        {M::kCommand | M::kShift, 768, Qt::ControlModifier | Qt::ShiftModifier},
        {0, 0, Qt::NoModifier},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(M::toCarbon(c.flags), c.carbon) << c.flags;
        EXPECT_EQ(M::fromCarbon(c.carbon), c.flags) << c.carbon;
        EXPECT_EQ(M::toQt(c.flags), c.qt) << c.flags;
        if (c.flags != M::kFunction) {
            EXPECT_EQ(M::fromQt(c.qt), c.flags) << c.flags;
        }
    }
    // Caps lock (0x10000), numeric pad (0x200000) and stray Carbon bits vanish.
    EXPECT_EQ(M::toCarbon(M::kCommand | 0x10000 | 0x200000), 0x100);
    EXPECT_EQ(M::fromQt(Qt::ShiftModifier | Qt::KeypadModifier), M::kShift);
    EXPECT_EQ(M::normalized(260), 256);
    EXPECT_EQ(M::normalized(0x7fffffff), 0x1000 | 0x800 | 0x200 | 0x100 | 0x20000);
}

TEST(Shortcut, JsonIsTheStoredFormAndKeepsWhatWasStored)
{
    const Shortcut toggle(Key::space, M::kCommand | M::kShift);
    EXPECT_EQ(toggle.toJson(), R"({"carbonKeyCode":49,"carbonModifiers":768})");
    EXPECT_EQ(Shortcut::fromJson(toggle.toJson()), toggle);
    // Unknown members are ignored.
    EXPECT_EQ(Shortcut::fromJson(R"({"carbonModifiers":768,"carbonKeyCode":49,"x":1})"), toggle);
    // A stored value keeps the stray bit (4) that a shortcut made here drops.
    const std::optional<Shortcut> stored
        = Shortcut::fromJson(R"({"carbonKeyCode":0,"carbonModifiers":260})");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->carbonModifiers(), 260);
    EXPECT_EQ(Shortcut(0, 260).carbonModifiers(), 256);
}

TEST(Shortcut, DecodingRejectsAnythingButTwoIntegers)
{
    const char *const rejected[] = {
        "",
        "not json",
        "[49, 768]",
        "false",
        R"("{\"carbonKeyCode\":49,\"carbonModifiers\":768}")",
        R"({"carbonKeyCode":49})",
        R"({"carbonModifiers":768})",
        R"({"carbonKeyCode":"49","carbonModifiers":768})",
        R"({"carbonKeyCode":49.5,"carbonModifiers":768})",
        R"({"carbonKeyCode":49,"carbonModifiers":true})",
        R"({"carbonKeyCode":49,"carbonModifiers":null})",
        R"({"carbonKeyCode":49,"carbonModifiers":768)",
    };
    for (const char *json : rejected)
        EXPECT_EQ(Shortcut::fromJson(json), std::nullopt) << json;
}

TEST_F(UsLayout, DescriptionsFollowQtNativeText)
{
    const struct
    {
        Shortcut shortcut;
        const char *text;
    } cases[] = {
        {Shortcut(Key::space, M::kCommand | M::kShift), "Ctrl+Shift+Space"},
        {Shortcut(Key::f5, M::kOption), "Alt+F5"},
        {Shortcut(Key::a, M::kCommand), "Ctrl+A"},
        {Shortcut(Key::comma, M::kCommand), "Ctrl+,"},
        {Shortcut(Key::k, M::kControl | M::kOption | M::kShift | M::kCommand),
         "Meta+Ctrl+Alt+Shift+K"},
        {Shortcut(Key::keypad1, M::kCommand), "Ctrl+Num+1"},
        {Shortcut(Key::returnKey, M::kCommand), "Ctrl+Return"},
        {Shortcut(Key::deleteKey), "Backspace"},
        {Shortcut(Key::escape), "Esc"},
        {Shortcut(Key::a, M::kFunction), "Fn+A"},
        // Keys with no character under the layout: modifier keys, mute, unknown codes.
        {Shortcut(Key::shift, M::kCommand), "Ctrl+\uFFFD"},
        {Shortcut(Key::mute), "\uFFFD"},
        {Shortcut(200), "\uFFFD"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.shortcut.description(), QString::fromUtf8(c.text)) << c.text;
}

TEST(Shortcut, DescriptionUsesTheCurrentLayoutsUnshiftedCharacter)
{
    setCurrentKeyboardLayout(KeyboardLayout::fromNames("de"));
    EXPECT_EQ(Shortcut(Key::y, M::kCommand).description(), "Ctrl+Z");
    EXPECT_EQ(Shortcut(Key::semicolon).description(), QString::fromUtf8("Ö"));
    setCurrentKeyboardLayout(KeyboardLayout::fromNames("fr"));
    EXPECT_EQ(Shortcut(Key::a).description(), "Q");
    // The top-row keys of the French layout give their unshifted character, not the digit.
    EXPECT_EQ(Shortcut(Key::two).description(), QString::fromUtf8("É"));
    setCurrentKeyboardLayout(nullptr);
}

TEST(Shortcut, KeyEventsGiveShortcutsWithoutFunctionOrLockBits)
{
    // X11 keycode 38 is A, 67 is F1.
    const QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, 38,
                          0, 0);
    EXPECT_EQ(Shortcut::fromKeyEvent(press), Shortcut(Key::a, M::kCommand | M::kShift));
    const QKeyEvent release(QEvent::KeyRelease, Qt::Key_F1, Qt::KeypadModifier, 67, 0, 0);
    EXPECT_EQ(Shortcut::fromKeyEvent(release), Shortcut(Key::f1));
    const QKeyEvent shortcutOverride(QEvent::ShortcutOverride, Qt::Key_A, Qt::NoModifier, 38, 0, 0);
    EXPECT_EQ(Shortcut::fromKeyEvent(shortcutOverride), std::nullopt);
    // Pressing a modifier key only changes the modifiers (Shift_L 50, Super_L 133).
    EXPECT_EQ(Shortcut::fromNativeKey(50, Qt::ShiftModifier), std::nullopt);
    EXPECT_EQ(Shortcut::fromNativeKey(133, Qt::ControlModifier), std::nullopt);
    // A key that has no stored code (Print, keycode 107) gives no shortcut.
    EXPECT_EQ(Shortcut::fromNativeKey(107, Qt::ControlModifier), std::nullopt);
}

} // namespace
