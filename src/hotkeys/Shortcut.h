// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/Key.h"
#include "hotkeys/Modifiers.h"

#include <QByteArray>
#include <QKeySequence>
#include <QString>

#include <optional>

class QKeyEvent;

namespace Hotkeys {

class Name;

// A key combination: a stored key code plus Carbon modifier bits. Every constructor normalises
// the modifiers; only decoding a stored value keeps them as they were written.
class Shortcut
{
public:
    explicit Shortcut(qint64 carbonKeyCode, Modifiers::CarbonFlags carbonModifiers = 0);
    explicit Shortcut(Key key, Modifiers::EventFlags modifiers = 0);

    // Fails for anything but a key press or release, for modifier keys and for keys without
    // a stored key code. Uses the X11 keycode (nativeScanCode on xcb) and Qt's modifiers.
    static std::optional<Shortcut> fromKeyEvent(const QKeyEvent &event);
    static std::optional<Shortcut> fromNativeKey(quint32 x11Keycode,
                                                 Qt::KeyboardModifiers modifiers);

    // The stored JSON form {"carbonKeyCode":…,"carbonModifiers":…}; decoding requires both
    // members as integers and keeps them as stored.
    QByteArray toJson() const;
    static std::optional<Shortcut> fromJson(const QByteArray &json);

    qint64 carbonKeyCode() const { return m_carbonKeyCode; }
    Modifiers::CarbonFlags carbonModifiers() const { return m_carbonModifiers; }
    Key key() const { return Key(m_carbonKeyCode); }
    Modifiers::EventFlags modifiers() const;

    // Qt's native text ("Ctrl+Shift+Space", "Alt+F5"); an ordinary key shows its character
    // under the current layout upper-cased, or "�" when it has none.
    QString description() const;
    // The same combination for our own menus; empty when the key has no Qt key.
    QKeySequence keySequence() const;

    friend bool operator==(const Shortcut &, const Shortcut &) = default;

private:
    struct Stored
    {
    };
    Shortcut(Stored, qint64 carbonKeyCode, Modifiers::CarbonFlags carbonModifiers);

    qint64 m_carbonKeyCode;
    Modifiers::CarbonFlags m_carbonModifiers;
};

size_t qHash(const Shortcut &shortcut, size_t seed = 0);

} // namespace Hotkeys
