// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/EventType.h"
#include "hotkeys/HotkeyBackend.h"
#include "hotkeys/Shortcut.h"

#include <functional>
#include <map>
#include <memory>

namespace Hotkeys {

// The hot-key layer: one record per registered shortcut under an id that is never reused, and
// the switch between the backend's path (normal) and the in-process path used while one of our
// menus holds the keyboard.
class PlatformHotkeys
{
public:
    using Callback = std::function<void(const Shortcut &)>;

    explicit PlatformHotkeys(std::unique_ptr<HotkeyBackend> backend);
    ~PlatformHotkeys();
    PlatformHotkeys(const PlatformHotkeys &) = delete;
    PlatformHotkeys &operator=(const PlatformHotkeys &) = delete;

    // A refusal prints "Error registering hotkey <description>: <status>" on standard output
    // and keeps nothing; the id is used up all the same. While disabled or tracking a menu the
    // record waits, unregistered, for the normal state.
    void registerShortcut(const Shortcut &shortcut, Callback onKeyDown, Callback onKeyUp);
    void unregisterShortcut(const Shortcut &shortcut);

    // Moves every record to the new backend (null: nothing fires).
    void replaceBackend(std::unique_ptr<HotkeyBackend> backend);
    HotkeyBackend *backend() const { return m_backend.get(); }

    void setEnabled(bool enabled);
    void setMenuTracking(bool tracking);
    bool isMenuTracking() const { return m_isMenuTracking; }

    // The in-process path: a key event seen while a menu is tracked. True when it matched a
    // record and must not reach the menu; a held key's repeats match without firing again.
    bool handleTrackedKey(const Shortcut &shortcut, EventType type, bool isRepeat);

    HotkeyBackend::Id lastId() const { return m_lastId; }

private:
    struct HotKey
    {
        Shortcut shortcut;
        HotkeyBackend::Id id;
        bool isRegistered;
        Callback onKeyDown;
        Callback onKeyUp;
    };

    bool isNormalState() const { return m_isEnabled && !m_isMenuTracking; }
    bool attach(HotKey &hotKey);
    void releaseAll();
    void updateEventHandler();
    void handleBackendEvent(HotkeyBackend::Id id, EventType type);
    static void call(const HotKey &hotKey, EventType type);

    std::unique_ptr<HotkeyBackend> m_backend;
    std::map<HotkeyBackend::Id, HotKey> m_hotKeys;
    HotkeyBackend::Id m_lastId = 0;
    bool m_isEnabled = true;
    bool m_isMenuTracking = false;
    HotkeyBackend::Id m_trackedDownId = 0;
};

} // namespace Hotkeys
