// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The global keyboard-shortcut facility: named shortcuts stored in the preferences, live as
// system-wide hot keys, calling the application's actions on press and release.
//
// Start-up in the application, in this order:
//   int main(int argc, char **argv) {
//       Hotkeys::prepareSession();            // before the QApplication: Wayland -> XWayland
//       QApplication app(argc, argv);
//       Hotkeys::installBackend(X11HotkeyBackend::create()); // null off X11
//       Hotkeys::installWidgetRecorderServices(); // beep, alerts, menu items for recorders
//       Hotkeys::onKeyDown(Hotkeys::Name::togglePanel(), [&] { controller.toggle(); });
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

#include <QList>

#include <functional>
#include <memory>
#include <optional>

class Preferences;

namespace Hotkeys {

// Call before constructing the QApplication. In a Wayland session it selects XWayland
// (QT_QPA_PLATFORM=xcb, unless the user chose a platform) and prints once, on standard error,
// how to bind the desktop's own shortcut to `binzo binzo://open`.
void prepareSession();

// Call once after the QApplication exists, with the platform's backend: null (no platform
// backend) answers false, and shortcuts are then stored but never fire.
bool installBackend(std::unique_ptr<HotkeyBackend> backend);

// Replaces the whole process state: the preferences used from now on, the backend (may be
// null: nothing fires), no handlers, no registrations, ids from 1, switches at their defaults.
// installBackend() uses it with Preferences::shared(); tests use it with their own.
void configure(Preferences &preferences, std::unique_ptr<HotkeyBackend> backend);

Notifier *notifier();

// The one-time start-up that every Name construction runs: starts watching our popup menus.
// Until the QGuiApplication exists it does nothing and tries again at the next call.
void runStartup();

std::optional<Shortcut> shortcut(const Name &name);
// Whether anything at all is stored under the name's key (a stored false counts).
bool hasStoredValue(const Name &name);
// Whether what is stored under the name's key is neither a shortcut nor false (a hand-edited
// or damaged preference).
bool hasUnreadableValue(const Name &name);
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
// True only while the platform holds the name's shortcut (or would, once the switches below
// allow it): false when its registration failed or was lost.
bool isEnabled(const Name &name);
// The platform's status number when the name's stored shortcut could not be registered or lost
// its registration (HotkeyBackend::kHeldElsewhere: another program holds it).
std::optional<int> registrationFailure(const Name &name);
std::optional<int> registrationFailure(const Shortcut &shortcut);

// All hot keys on or off; turning them on again needs no re-storing.
bool isEnabled();
void setEnabled(bool enabled);

// True while a recorder records: no action is called, and the combinations are let go so the
// recorder can receive the ones we hold ourselves.
bool isDispatchPaused();
void setDispatchPaused(bool paused);

// A stream of the name's events: the callback gets every press and release (or only `type`)
// until the subscription is destroyed, which also unregisters the shortcut when no other
// handler uses it.
class Subscription
{
public:
    virtual ~Subscription() = default;
};
[[nodiscard]] std::unique_ptr<Subscription> events(const Name &name,
                                                   std::function<void(EventType)> callback);
[[nodiscard]] std::unique_ptr<Subscription> events(EventType type, const Name &name,
                                                   std::function<void()> callback);

// The backend in use (null before configure / installBackend), for the recorder's
// trial registration.
HotkeyBackend *backend();

} // namespace Hotkeys
