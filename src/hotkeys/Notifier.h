// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/Name.h"

#include <QObject>

namespace Hotkeys {

// The registry's notification centre (Registry::notifier()).
class Notifier : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // "Hotkeys_shortcutByNameDidChange": after every store, disable or removal made through
    // setShortcut.
    void shortcutByNameDidChange(const Hotkeys::Name &name);
    // "Hotkeys_recorderActiveStatusDidChange": true when a recorder starts recording, false
    // when it stops.
    void recorderActiveStatusDidChange(bool isActive);
    // The shortcut could not be registered, or its registration was lost, or it is registered
    // again after that: Registry::registration() tells which.
    void registrationStatusDidChange(const Hotkeys::Shortcut &shortcut);
    // The value stored under the name's key was neither a shortcut nor false; the name's default
    // was stored in its place.
    void unreadableShortcutReplaced(const Hotkeys::Name &name);
};

} // namespace Hotkeys
