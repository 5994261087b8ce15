// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/EventType.h"
#include "hotkeys/HotkeyBackend.h"
#include "hotkeys/Shortcut.h"

#include <QHash>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace Hotkeys {

// The hot-key layer: one record per registered shortcut under an id that is never reused, and
// the switch between the backend's path (normal) and the in-process path used while one of our
// menus holds the keyboard.
class PlatformHotkeys
{
public:
    using Callback = std::function<void(const Shortcut &)>;

    // Told when a shortcut could not be registered (or its registration was lost) and when it
    // is registered again; registrationFailure() says which.
    using StatusCallback = std::function<void(const Shortcut &)>;

    explicit PlatformHotkeys(std::unique_ptr<HotkeyBackend> backend,
                             StatusCallback onStatusChange = {});
    ~PlatformHotkeys();
    PlatformHotkeys(const PlatformHotkeys &) = delete;
    PlatformHotkeys &operator=(const PlatformHotkeys &) = delete;

    // A refusal prints "Error registering hotkey <description>: <status>" on standard output,
    // records the failure and keeps nothing; the id is used up all the same. While disabled or
    // tracking a menu the record waits, unregistered, for the normal state.
    void registerShortcut(const Shortcut &shortcut, Callback onKeyDown, Callback onKeyUp);
    // Also forgets a failure to register it.
    void unregisterShortcut(const Shortcut &shortcut);

    // The platform's status number when the shortcut's last registration failed or was lost
    // (after a keyboard change), until it is registered again or unregistered.
    std::optional<int> registrationFailure(const Shortcut &shortcut) const;

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
    void setFailure(const Shortcut &shortcut, std::optional<int> status);
    void handleLostRegistration(HotkeyBackend::Id id, int status);
    void releaseAll();
    void updateEventHandler();
    void handleBackendEvent(HotkeyBackend::Id id, EventType type);
    static void call(const HotKey &hotKey, EventType type);

    std::unique_ptr<HotkeyBackend> m_backend;
    StatusCallback m_onStatusChange;
    std::map<HotkeyBackend::Id, HotKey> m_hotKeys;
    QHash<Shortcut, int> m_failures;
    HotkeyBackend::Id m_lastId = 0;
    bool m_isEnabled = true;
    bool m_isMenuTracking = false;
    HotkeyBackend::Id m_trackedDownId = 0;
};

} // namespace Hotkeys
