// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/Shortcut.h"

#include <QString>

#include <optional>

namespace Hotkeys {

// The stable identifier a shortcut is stored under ("Hotkeys_" + rawValue in the preferences).
// Equality and hash use the raw value only.
class Name
{
public:
    // With a default: when nothing at all is stored under the key, stores the default (which
    // registers it and notifies). A stored false counts as something: a cleared default stays
    // cleared. A stored value that is neither is replaced by the default, and
    // unreadableShortcutReplaced is emitted. Also runs the facility's one-time start-up.
    explicit Name(QString rawValue, std::optional<Shortcut> defaultShortcut = std::nullopt);

    // The application's one name: "togglePanel", default Ctrl+Shift+Space (carbonKeyCode 49,
    // carbonModifiers 768). Created on first use, which stores the default when nothing is.
    static const Name &togglePanel();

    const QString &rawValue() const { return m_rawValue; }
    const std::optional<Shortcut> &defaultShortcut() const { return m_defaultShortcut; }
    QString storageKey() const;

    std::optional<Shortcut> shortcut() const;
    void setShortcut(const std::optional<Shortcut> &shortcut) const;

    friend bool operator==(const Name &a, const Name &b) { return a.m_rawValue == b.m_rawValue; }

private:
    QString m_rawValue;
    std::optional<Shortcut> m_defaultShortcut;
};

inline size_t qHash(const Name &name, size_t seed = 0)
{
    return ::qHash(name.rawValue(), seed);
}

} // namespace Hotkeys
