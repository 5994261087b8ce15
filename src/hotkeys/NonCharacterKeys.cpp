// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/NonCharacterKeys.h"

#include <QHash>

#include <array>

namespace Hotkeys {

namespace {

struct Entry
{
    SpecialKey key;
    qint64 keyCode;
    QKeyCombination qt;
};

constexpr QKeyCombination keypad(Qt::Key key)
{
    return QKeyCombination(Qt::KeypadModifier, key);
}

// In case order. Help sits where PC keyboards have Insert, and the keypad's Clear where they
// have Num Lock, so those two show the PC key's name.
constexpr std::array<Entry, kSpecialKeyCount> kEntries = {{
    {SpecialKey::returnKey, 36, Qt::Key_Return},
    {SpecialKey::deleteKey, 51, Qt::Key_Backspace},
    {SpecialKey::deleteForward, 117, Qt::Key_Delete},
    {SpecialKey::end, 119, Qt::Key_End},
    {SpecialKey::escape, 53, Qt::Key_Escape},
    {SpecialKey::help, 114, Qt::Key_Insert},
    {SpecialKey::home, 115, Qt::Key_Home},
    {SpecialKey::space, 49, Qt::Key_Space},
    {SpecialKey::tab, 48, Qt::Key_Tab},
    {SpecialKey::pageUp, 116, Qt::Key_PageUp},
    {SpecialKey::pageDown, 121, Qt::Key_PageDown},
    {SpecialKey::upArrow, 126, Qt::Key_Up},
    {SpecialKey::rightArrow, 124, Qt::Key_Right},
    {SpecialKey::downArrow, 125, Qt::Key_Down},
    {SpecialKey::leftArrow, 123, Qt::Key_Left},
    {SpecialKey::f1, 122, Qt::Key_F1},
    {SpecialKey::f2, 120, Qt::Key_F2},
    {SpecialKey::f3, 99, Qt::Key_F3},
    {SpecialKey::f4, 118, Qt::Key_F4},
    {SpecialKey::f5, 96, Qt::Key_F5},
    {SpecialKey::f6, 97, Qt::Key_F6},
    {SpecialKey::f7, 98, Qt::Key_F7},
    {SpecialKey::f8, 100, Qt::Key_F8},
    {SpecialKey::f9, 101, Qt::Key_F9},
    {SpecialKey::f10, 109, Qt::Key_F10},
    {SpecialKey::f11, 103, Qt::Key_F11},
    {SpecialKey::f12, 111, Qt::Key_F12},
    {SpecialKey::f13, 105, Qt::Key_F13},
    {SpecialKey::f14, 107, Qt::Key_F14},
    {SpecialKey::f15, 113, Qt::Key_F15},
    {SpecialKey::f16, 106, Qt::Key_F16},
    {SpecialKey::f17, 64, Qt::Key_F17},
    {SpecialKey::f18, 79, Qt::Key_F18},
    {SpecialKey::f19, 80, Qt::Key_F19},
    {SpecialKey::f20, 90, Qt::Key_F20},
    {SpecialKey::keypad0, 82, keypad(Qt::Key_0)},
    {SpecialKey::keypad1, 83, keypad(Qt::Key_1)},
    {SpecialKey::keypad2, 84, keypad(Qt::Key_2)},
    {SpecialKey::keypad3, 85, keypad(Qt::Key_3)},
    {SpecialKey::keypad4, 86, keypad(Qt::Key_4)},
    {SpecialKey::keypad5, 87, keypad(Qt::Key_5)},
    {SpecialKey::keypad6, 88, keypad(Qt::Key_6)},
    {SpecialKey::keypad7, 89, keypad(Qt::Key_7)},
    {SpecialKey::keypad8, 91, keypad(Qt::Key_8)},
    {SpecialKey::keypad9, 92, keypad(Qt::Key_9)},
    {SpecialKey::keypadClear, 71, Qt::Key_NumLock},
    {SpecialKey::keypadDecimal, 65, keypad(Qt::Key_Period)},
    {SpecialKey::keypadDivide, 75, keypad(Qt::Key_Slash)},
    {SpecialKey::keypadEnter, 76, keypad(Qt::Key_Enter)},
    {SpecialKey::keypadEquals, 81, keypad(Qt::Key_Equal)},
    {SpecialKey::keypadMinus, 78, keypad(Qt::Key_Minus)},
    {SpecialKey::keypadMultiply, 67, keypad(Qt::Key_Asterisk)},
    {SpecialKey::keypadPlus, 69, keypad(Qt::Key_Plus)},
}};

const Entry &entry(SpecialKey key)
{
    return kEntries[static_cast<size_t>(key)];
}

} // namespace

std::optional<SpecialKey> specialKey(qint64 keyCode)
{
    static const QHash<qint64, SpecialKey> byKeyCode = [] {
        QHash<qint64, SpecialKey> map;
        for (const Entry &e : kEntries)
            map.insert(e.keyCode, e.key);
        return map;
    }();
    const auto found = byKeyCode.constFind(keyCode);
    if (found == byKeyCode.cend())
        return std::nullopt;
    return *found;
}

qint64 keyCode(SpecialKey key)
{
    return entry(key).keyCode;
}

QKeyCombination qtKey(SpecialKey key)
{
    return entry(key).qt;
}

} // namespace Hotkeys
