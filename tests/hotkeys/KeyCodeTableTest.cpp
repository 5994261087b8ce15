// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/KeyCodeTable.h"
#include "hotkeys/Key.h"

#include <gtest/gtest.h>

using namespace Hotkeys;

namespace {

// Two keys sharing a keycode would fail the way back for one of them.
TEST(KeyCodeTable, EveryNamedKeyButFunctionMapsToAKeycodeAndBack)
{
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
    }
}

} // namespace
