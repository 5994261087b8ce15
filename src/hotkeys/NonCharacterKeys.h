// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyCombination>

#include <optional>

namespace Hotkeys {

// The keys without a layout character. Each maps to the Qt key that names it in texts and
// menus; the keypad keys carry Qt's keypad modifier ("Num+1").
// clang-format off
enum class SpecialKey {
    returnKey, deleteKey, deleteForward, end, escape, help, home, space, tab, pageUp, pageDown,
    upArrow, rightArrow, downArrow, leftArrow,
    f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20,
    keypad0, keypad1, keypad2, keypad3, keypad4, keypad5, keypad6, keypad7, keypad8, keypad9,
    keypadClear, keypadDecimal, keypadDivide, keypadEnter, keypadEquals, keypadMinus,
    keypadMultiply, keypadPlus,
};
// clang-format on

inline constexpr int kSpecialKeyCount = 53;

std::optional<SpecialKey> specialKey(qint64 keyCode);
qint64 keyCode(SpecialKey key);
QKeyCombination qtKey(SpecialKey key);

} // namespace Hotkeys
