// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Name.h"

#include "hotkeys/Hotkeys.h"
#include "model/Preferences.h"

namespace Hotkeys {

Name::Name(QString rawValue, std::optional<Shortcut> defaultShortcut)
    : m_rawValue(std::move(rawValue))
    , m_defaultShortcut(std::move(defaultShortcut))
{
    if (m_defaultShortcut && !hasStoredValue(*this)) {
        Hotkeys::setShortcut(m_defaultShortcut, *this);
    } else if (m_defaultShortcut && hasUnreadableValue(*this)) {
        // Left as it is, the name would have no shortcut and nothing would say why.
        Hotkeys::setShortcut(m_defaultShortcut, *this);
        emit notifier()->unreadableShortcutReplaced(*this);
    }
    runStartup();
}

const Name &Name::togglePanel()
{
    static const Name name(QStringLiteral("togglePanel"),
                           Shortcut(Key::space, Modifiers::kCommand | Modifiers::kShift));
    return name;
}

QString Name::storageKey() const
{
    return QStringLiteral("Hotkeys_") + m_rawValue;
}

std::optional<Shortcut> Name::shortcut() const
{
    return Hotkeys::shortcut(*this);
}

void Name::setShortcut(const std::optional<Shortcut> &shortcut) const
{
    Hotkeys::setShortcut(shortcut, *this);
}

} // namespace Hotkeys
