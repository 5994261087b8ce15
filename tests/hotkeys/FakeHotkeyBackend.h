// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/HotkeyBackend.h"

#include <QHash>
#include <QSet>

#include <map>
#include <utility>

// Records registrations and lets a test press and release what is registered.
class FakeHotkeyBackend : public Hotkeys::HotkeyBackend
{
public:
    Result<void> registerHotkey(Id id, const Hotkeys::Shortcut &shortcut) override
    {
        if (const int status = refused.value(shortcut, 0))
            return Failure {QStringLiteral("refused"), status};
        live.insert_or_assign(id, shortcut);
        return {};
    }
    void unregisterHotkey(Id id) override { live.erase(id); }
    bool isHeldElsewhere(const Hotkeys::Shortcut &shortcut) override
    {
        return heldElsewhere.contains(shortcut);
    }

    bool isLive(const Hotkeys::Shortcut &shortcut) const
    {
        for (const auto &[id, registered] : live) {
            if (registered == shortcut)
                return true;
        }
        return false;
    }
    // Answers false when nothing live has the shortcut: the key would reach nobody.
    bool press(const Hotkeys::Shortcut &shortcut) const
    {
        for (const auto &[id, registered] : live) {
            if (registered == shortcut) {
                deliver(id, Hotkeys::EventType::keyDown);
                return true;
            }
        }
        return false;
    }
    // A keyboard change after which the platform refuses every grab again.
    void loseEverything(int status)
    {
        const std::map<Id, Hotkeys::Shortcut> lost = std::exchange(live, {});
        for (const auto &[id, shortcut] : lost) {
            refused.insert(shortcut, status);
            reportLost(id, status);
        }
    }

    std::map<Id, Hotkeys::Shortcut> live;
    QHash<Hotkeys::Shortcut, int> refused;
    QSet<Hotkeys::Shortcut> heldElsewhere;
};
