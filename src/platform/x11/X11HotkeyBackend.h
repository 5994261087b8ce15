// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkeys/HotkeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

struct xcb_connection_t;

namespace Hotkeys {

// Hot keys as passive key grabs on the root window of Qt's own X connection. A combination is
// grabbed once for every state of the lock keys (Caps, Num, Scroll), so they never stop it;
// the grabs follow keyboard-layout changes.
class X11HotkeyBackend : public HotkeyBackend, public QAbstractNativeEventFilter
{
public:
    // Null unless the application runs on Qt's "xcb" platform.
    static std::unique_ptr<X11HotkeyBackend> create();

    X11HotkeyBackend(xcb_connection_t *connection, quint32 root);
    ~X11HotkeyBackend() override;

    Result<void> registerHotkey(Id id, const Shortcut &shortcut) override;
    void unregisterHotkey(Id id) override;
    bool isHeldElsewhere(const Shortcut &shortcut) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Grab
    {
        quint8 keycode;
        quint16 modifiers;
        Shortcut shortcut;
        bool isDown = false;
    };
    struct ModifierMasks
    {
        quint16 alt = 0;
        quint16 super = 0;
        quint16 numLock = 0;
        quint16 scrollLock = 0;
        bool operator==(const ModifierMasks &) const = default;
    };

    std::optional<Grab> grabFor(const Shortcut &shortcut) const;
    int grab(const Grab &grab) const;
    void ungrab(const Grab &grab) const;
    QList<quint16> lockCombinations() const;
    quint16 significantModifiers() const;
    ModifierMasks readModifierMasks() const;
    void keyboardChanged();
    bool handleKey(bool isPress, quint8 keycode, quint16 state, quint32 time);
    void finishRelease();

    xcb_connection_t *m_connection;
    quint32 m_root;
    quint8 m_xkbEventBase = 0;
    ModifierMasks m_masks;
    std::map<Id, Grab> m_grabs;
    struct PendingRelease
    {
        Id id;
        quint32 time;
    };
    std::optional<PendingRelease> m_pendingRelease;
    QTimer m_releaseTimer;
};

} // namespace Hotkeys
