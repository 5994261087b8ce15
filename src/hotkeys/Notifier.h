// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/Name.h"

#include <QObject>

namespace Hotkeys {

// The facility's notification centre: one process-wide object, Hotkeys::notifier().
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
};

} // namespace Hotkeys
