// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/Shortcut.h"

#include <QString>

#include <optional>

namespace Hotkeys {

// The stable identifier a shortcut is stored under (kStoragePrefix + rawValue in the
// preferences), with its default. A plain value: Registry::adopt stores the default.
// Equality and hash use the raw value only.
class Name
{
public:
    // Every shortcut's preference key starts with it.
    static inline const QString kStoragePrefix = QStringLiteral("Hotkeys_");

    explicit Name(QString rawValue, std::optional<Shortcut> defaultShortcut = std::nullopt);

    // The application's one name: "togglePanel", default Ctrl+Shift+Space (carbonKeyCode 49,
    // carbonModifiers 768).
    static const Name &togglePanel();

    const QString &rawValue() const { return m_rawValue; }
    const std::optional<Shortcut> &defaultShortcut() const { return m_defaultShortcut; }
    QString storageKey() const { return kStoragePrefix + m_rawValue; }

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
