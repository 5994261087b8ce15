// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The global keyboard-shortcut facility: named shortcuts stored in the preferences, live as
// system-wide hot keys, calling the application's actions on press and release.
//
// Start-up in the application, in this order:
//   int main(int argc, char **argv) {
//       Hotkeys::prepareSession();            // before the QApplication: Wayland -> XWayland
//       QApplication app(argc, argv);
//       Hotkeys::Registry hotkeys(preferences, X11HotkeyBackend::create());
//       hotkeys.setRecorderServices(...);     // beep, alerts, menu items for recorders
//       hotkeys.adopt(Hotkeys::Name::togglePanel());
//       hotkeys.onKeyDown(Hotkeys::Name::togglePanel(), [&] { controller.toggle(); });
//       ...
//   }
// Our own popup menus (QMenu, any Qt::Popup window) are noticed automatically: while one is
// open it holds the keyboard grab, so key events are matched inside the process instead.
// Everything runs on the main thread.

#include "hotkeys/EventType.h"
#include "hotkeys/HotkeyBackend.h"
#include "hotkeys/Key.h"
#include "hotkeys/Name.h"
#include "hotkeys/Notifier.h"
#include "hotkeys/Shortcut.h"
#include "hotkeys/recorder/RecorderServices.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Preferences;

namespace Hotkeys {

class MenuTrackingFilter;
class PlatformHotkeys;

// Call before constructing the QApplication. In a Wayland session it selects XWayland
// (QT_QPA_PLATFORM=xcb, unless the user chose a platform) and prints once, on standard error,
// how to bind the desktop's own shortcut to `binzo binzo://open`.
void prepareSession();

// A stream of a name's events: the callback gets every press and release (or only one type)
// until the subscription is destroyed, which also unregisters the shortcut when no other
// handler uses it.
class Subscription
{
public:
    virtual ~Subscription() = default;
};

// The registration layer: what is stored in the preferences, what is registered with the
// platform's backend, and the handlers that fire. Build it after the QGuiApplication.
class Registry : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("built by the application")
public:
    // The backend may be null: shortcuts are then stored but never fire.
    explicit Registry(Preferences &preferences, std::unique_ptr<HotkeyBackend> backend = nullptr,
                      QObject *parent = nullptr);
    ~Registry() override;

    Notifier *notifier() { return &m_notifier; }
    const Notifier *notifier() const { return &m_notifier; }
    // The backend in use (null: none), for the recorder's trial registration.
    HotkeyBackend *backend() const;
    // Moves every registration to the new backend (null: nothing fires).
    void setBackend(std::unique_ptr<HotkeyBackend> backend);
    const RecorderServices &recorderServices() const { return m_recorderServices; }
    void setRecorderServices(RecorderServices services);

    // Stores the name's default when nothing at all is stored under its key (which registers
    // it and notifies). A stored false counts as something: a cleared default stays cleared.
    // A stored value that is neither is replaced by the default, and
    // unreadableShortcutReplaced is emitted.
    void adopt(const Name &name);

    std::optional<Shortcut> shortcut(const Name &name) const;
    // Whether anything at all is stored under the name's key (a stored false counts).
    bool hasStoredValue(const Name &name) const;
    // Whether what is stored under the name's key is neither a shortcut nor false (a
    // hand-edited or damaged preference).
    bool hasUnreadableValue(const Name &name) const;
    // A shortcut: unregisters the old one, registers the new (even with no action attached),
    // stores it and notifies. None: writes false for a name with a default, removes the entry
    // otherwise, unregisters and notifies; nothing at all when nothing was stored.
    void setShortcut(const std::optional<Shortcut> &shortcut, const Name &name);
    // Stores each name's default, as setShortcut does (a name without one is cleared).
    void reset(const QList<Name> &names);
    // Clears every stored shortcut; entries holding false stay.
    void resetAll();

    void onKeyDown(const Name &name, std::function<void()> action);
    void onKeyUp(const Name &name, std::function<void()> action);
    void removeHandler(const Name &name);
    void removeAllHandlers();

    void enable(const QList<Name> &names);
    // Unregisters; the stored value stays.
    void disable(const QList<Name> &names);
    // True only while the platform holds the name's shortcut (or would, once the switches
    // below allow it): false when its registration failed or was lost.
    bool isEnabled(const Name &name) const;
    // A Failure, saying why for the person and with the platform's status number as its code
    // (HotkeyBackend::kHeldElsewhere: another program holds it), while the name's stored
    // shortcut could not be registered or lost its registration.
    Result<void> registration(const Name &name) const;
    Result<void> registration(const Shortcut &shortcut) const;

    // All hot keys on or off; turning them on again needs no re-storing.
    bool isEnabled() const { return m_isEnabled; }
    void setEnabled(bool enabled);

    // True while a recorder records: no action is called, and the combinations are let go so
    // the recorder can receive the ones we hold ourselves.
    bool isDispatchPaused() const { return m_isDispatchPaused; }
    void setDispatchPaused(bool paused);

    [[nodiscard]] std::unique_ptr<Subscription> events(const Name &name,
                                                       std::function<void(EventType)> callback);
    [[nodiscard]] std::unique_ptr<Subscription> events(EventType type, const Name &name,
                                                       std::function<void()> callback);

private:
    using Action = std::function<void()>;
    using StreamAction = std::function<void(EventType)>;
    class StreamSubscription;

    void dispatch(const Shortcut &fired, EventType type);
    void registerIfNeeded(const Shortcut &shortcut);
    void unregister(const Shortcut &shortcut);
    void unregisterUnlessHandled(const Shortcut &shortcut);
    void unregisterUnlessStoredElsewhere(const Shortcut &shortcut, const Name &name);
    void addHandler(QHash<Name, std::vector<Action>> &table, const Name &name, Action action);
    void removeStream(const Name &name, quint64 token);

    Preferences &m_preferences;
    std::unique_ptr<PlatformHotkeys> m_platform;
    Notifier m_notifier;
    RecorderServices m_recorderServices;
    MenuTrackingFilter *m_menuTracking = nullptr;
    QSet<Shortcut> m_registered;
    QHash<Name, std::vector<Action>> m_keyDownHandlers;
    QHash<Name, std::vector<Action>> m_keyUpHandlers;
    QHash<Name, QHash<quint64, StreamAction>> m_streamHandlers;
    quint64 m_lastStreamToken = 0;
    bool m_isEnabled = true;
    bool m_isDispatchPaused = false;
};

} // namespace Hotkeys
