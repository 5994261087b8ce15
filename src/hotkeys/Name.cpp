// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/Name.h"

namespace Hotkeys {

Name::Name(QString rawValue, std::optional<Shortcut> defaultShortcut)
    : m_rawValue(std::move(rawValue))
    , m_defaultShortcut(std::move(defaultShortcut))
{ }

const Name &Name::togglePanel()
{
    static const Name name(QStringLiteral("togglePanel"),
                           Shortcut(Key::space, Modifiers::kCommand | Modifiers::kShift));
    return name;
}

} // namespace Hotkeys
