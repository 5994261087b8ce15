// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/KeyCodeTable.h"
#include "hotkeys/Key.h"
#include "hotkeys/NonCharacterKeys.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace Hotkeys;

namespace {

TEST(KeyCodeTable, EveryNamedKeyButFunctionMapsToAKeycodeAndBack)
{
    EXPECT_EQ(kNamedKeys.size(), 113u);
    QSet<quint32> keycodes;
    for (const auto &[name, key] : kNamedKeys) {
        const std::optional<quint32> x11 = KeyCodeTable::x11Keycode(key.rawValue);
        if (key == Key::function) {
            EXPECT_EQ(x11, std::nullopt);
            continue;
        }
        ASSERT_TRUE(x11) << name;
        EXPECT_GE(*x11, 8u) << name;
        EXPECT_LE(*x11, 255u) << name;
        EXPECT_EQ(KeyCodeTable::keyCode(*x11), key.rawValue) << name;
        keycodes.insert(*x11);
    }
    EXPECT_EQ(keycodes.size(), 112);
}

TEST(KeyCodeTable, PositionsOfWellKnownKeys)
{
    // X11 (evdev) keycodes of a PC keyboard.
    const struct
    {
        Key key;
        quint32 x11;
    } cases[] = {
        {Key::a, 38},          {Key::q, 24},
        {Key::z, 52},          {Key::space, 65},
        {Key::returnKey, 36},  {Key::escape, 9},
        {Key::f1, 67},         {Key::f12, 96},
        {Key::command, 37},    {Key::control, 133},
        {Key::option, 64},     {Key::shift, 50},
        {Key::keypad0, 90},    {Key::keypadEnter, 104},
        {Key::leftArrow, 113}, {Key::one, 10},
    };
    for (const auto &c : cases)
        EXPECT_EQ(KeyCodeTable::x11Keycode(c.key.rawValue), c.x11) << c.key.rawValue;
    EXPECT_EQ(KeyCodeTable::keyCode(107), std::nullopt); // Print has no stored code
}

TEST(SpecialKey, TableHasTheFiftyThreeKeysOfTheirNamedConstants)
{
    int count = 0;
    for (const auto &[name, key] : kNamedKeys) {
        if (const std::optional<SpecialKey> special = specialKey(key.rawValue)) {
            ++count;
            EXPECT_EQ(keyCode(*special), key.rawValue) << name;
        }
    }
    EXPECT_EQ(count, kSpecialKeyCount);
    EXPECT_EQ(specialKey(Key::a.rawValue), std::nullopt);
    EXPECT_EQ(specialKey(Key::mute.rawValue), std::nullopt);
}

} // namespace
