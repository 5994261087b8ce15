// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/PlatformHotkeys.h"

#include <algorithm>
#include <cstdio>

namespace Hotkeys {

namespace {

void printFailure(const Shortcut &shortcut, int status)
{
    std::printf("Error registering hotkey %s: %d\n", shortcut.description().toUtf8().constData(),
                status);
    std::fflush(stdout);
}

} // namespace

PlatformHotkeys::PlatformHotkeys(std::unique_ptr<HotkeyBackend> backend,
                                 StatusCallback onStatusChange)
    : m_onStatusChange(std::move(onStatusChange))
{
    replaceBackend(std::move(backend));
}

PlatformHotkeys::~PlatformHotkeys()
{
    releaseAll();
}

void PlatformHotkeys::registerShortcut(const Shortcut &shortcut, Callback onKeyDown,
                                       Callback onKeyUp)
{
    HotKey hotKey {shortcut, ++m_lastId, false, std::move(onKeyDown), std::move(onKeyUp)};
    if (isNormalState() && !attach(hotKey))
        return;
    m_hotKeys.emplace(hotKey.id, std::move(hotKey));
}

void PlatformHotkeys::unregisterShortcut(const Shortcut &shortcut)
{
    for (auto it = m_hotKeys.begin(); it != m_hotKeys.end();) {
        if (it->second.shortcut == shortcut) {
            if (it->second.isRegistered && m_backend)
                m_backend->unregisterHotkey(it->first);
            it = m_hotKeys.erase(it);
        } else {
            ++it;
        }
    }
    setFailure(shortcut, std::nullopt);
}

std::optional<int> PlatformHotkeys::registrationFailure(const Shortcut &shortcut) const
{
    const auto found = m_failures.constFind(shortcut);
    return found == m_failures.cend() ? std::nullopt : std::optional(*found);
}

void PlatformHotkeys::setFailure(const Shortcut &shortcut, std::optional<int> status)
{
    // Only a change is told: a record that keeps failing at every menu or recording must not
    // raise a new notice each time.
    const bool wasFailing = m_failures.contains(shortcut);
    if (status)
        m_failures.insert(shortcut, *status);
    else
        m_failures.remove(shortcut);
    if (wasFailing != status.has_value() && m_onStatusChange)
        m_onStatusChange(shortcut);
}

void PlatformHotkeys::replaceBackend(std::unique_ptr<HotkeyBackend> backend)
{
    releaseAll();
    m_backend = std::move(backend);
    if (m_backend) {
        m_backend->setHandler(
            [this](HotkeyBackend::Id id, EventType type) { handleBackendEvent(id, type); });
        m_backend->setLostHandler(
            [this](HotkeyBackend::Id id, int status) { handleLostRegistration(id, status); });
    }
    updateEventHandler();
}

void PlatformHotkeys::setEnabled(bool enabled)
{
    if (m_isEnabled == enabled)
        return;
    m_isEnabled = enabled;
    updateEventHandler();
}

void PlatformHotkeys::setMenuTracking(bool tracking)
{
    if (m_isMenuTracking == tracking)
        return;
    m_isMenuTracking = tracking;
    updateEventHandler();
}

bool PlatformHotkeys::handleTrackedKey(const Shortcut &shortcut, EventType type, bool isRepeat)
{
    if (!m_isEnabled || !m_isMenuTracking)
        return false;
    const auto matches = [&](const HotKey &hotKey) {
        // The modifiers may be let go first: a release belongs to the key that went down.
        if (type == EventType::keyUp && m_trackedDownId == hotKey.id)
            return hotKey.shortcut.carbonKeyCode() == shortcut.carbonKeyCode();
        return hotKey.shortcut.carbonKeyCode() == shortcut.carbonKeyCode()
            && hotKey.shortcut.carbonModifiers()
            == Modifiers::normalized(shortcut.carbonModifiers());
    };
    const auto found = std::find_if(m_hotKeys.cbegin(), m_hotKeys.cend(),
                                    [&](const auto &entry) { return matches(entry.second); });
    if (found == m_hotKeys.cend())
        return false;
    if (isRepeat)
        return true;
    m_trackedDownId = type == EventType::keyDown ? found->first : 0;
    // A copy: the action may change the table.
    const HotKey matched = found->second;
    call(matched, type);
    return true;
}

bool PlatformHotkeys::attach(HotKey &hotKey)
{
    // Without a backend nothing can fire, but the record is kept for a later one.
    if (!m_backend)
        return true;
    const Result<void> registered = m_backend->registerHotkey(hotKey.id, hotKey.shortcut);
    if (!registered) {
        printFailure(hotKey.shortcut, registered.failure().code);
        setFailure(hotKey.shortcut, registered.failure().code);
        return false;
    }
    hotKey.isRegistered = true;
    setFailure(hotKey.shortcut, std::nullopt);
    return true;
}

// The backend gave the registration up (a keyboard change it could not follow): the record
// stays, unregistered, and is tried again at the next return to the normal state.
void PlatformHotkeys::handleLostRegistration(HotkeyBackend::Id id, int status)
{
    const auto found = m_hotKeys.find(id);
    if (found == m_hotKeys.end())
        return;
    found->second.isRegistered = false;
    printFailure(found->second.shortcut, status);
    setFailure(found->second.shortcut, status);
}

void PlatformHotkeys::releaseAll()
{
    for (auto &[id, hotKey] : m_hotKeys) {
        if (hotKey.isRegistered && m_backend)
            m_backend->unregisterHotkey(id);
        hotKey.isRegistered = false;
    }
}

void PlatformHotkeys::updateEventHandler()
{
    if (!isNormalState()) {
        releaseAll();
        return;
    }
    for (auto &[id, hotKey] : m_hotKeys) {
        if (!hotKey.isRegistered)
            attach(hotKey);
    }
}

void PlatformHotkeys::handleBackendEvent(HotkeyBackend::Id id, EventType type)
{
    const auto found = m_hotKeys.find(id);
    if (found == m_hotKeys.end() || !found->second.isRegistered)
        return;
    // A copy: the action may unregister this very record.
    const HotKey hotKey = found->second;
    call(hotKey, type);
}

void PlatformHotkeys::call(const HotKey &hotKey, EventType type)
{
    const Callback &callback = type == EventType::keyDown ? hotKey.onKeyDown : hotKey.onKeyUp;
    if (callback)
        callback(hotKey.shortcut);
}

} // namespace Hotkeys
