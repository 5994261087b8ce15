// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11HotkeyBackend.h"

#include "hotkeys/KeyCodeTable.h"
#include "platform/x11/X11KeyboardLayout.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
// The XKB protocol header names a member `explicit`.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace Hotkeys {

namespace {

constexpr int kBadValue = 2;
constexpr int kBadAccess = HotkeyBackend::kHeldElsewhere;
constexpr quint16 kShiftMask = XCB_MOD_MASK_SHIFT;
constexpr quint16 kControlMask = XCB_MOD_MASK_CONTROL;
// How long a release waits for the press of an auto-repeat pair, which can arrive a moment
// later; only key-up actions are delayed by it.
constexpr int kRepeatPairWindowMs = 20;

// Keysyms of the keys whose modifier bit is only known from the server's modifier map.
constexpr xcb_keysym_t kAltL = 0xffe9, kAltR = 0xffea, kMetaL = 0xffe7;
constexpr xcb_keysym_t kSuperL = 0xffeb, kSuperR = 0xffec;
constexpr xcb_keysym_t kNumLock = 0xff7f, kScrollLock = 0xff14;

} // namespace

std::unique_ptr<X11HotkeyBackend> X11HotkeyBackend::create()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return nullptr;
    xcb_connection_t *connection = x11->connection();
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return nullptr;
    return std::make_unique<X11HotkeyBackend>(connection, screen->root);
}

X11HotkeyBackend::X11HotkeyBackend(xcb_connection_t *connection, quint32 root)
    : m_connection(connection)
    , m_root(root)
{
    // Qt's xcb platform already selects the XKB keyboard notifications on this connection;
    // only their event number is needed here.
    if (const xcb_query_extension_reply_t *xkb = xcb_get_extension_data(connection, &xcb_xkb_id);
        xkb && xkb->present) {
        m_xkbEventBase = xkb->first_event;
    }
    m_masks = readModifierMasks();
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setInterval(kRepeatPairWindowMs);
    m_releaseTimer.callOnTimeout([this] { finishRelease(); });
    setCurrentKeyboardLayout(keyboardLayoutFromX11(connection));
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotkeyBackend::~X11HotkeyBackend()
{
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    for (const auto &[id, grab] : m_grabs)
        ungrab(grab);
    xcb_flush(m_connection);
}

Result<void> X11HotkeyBackend::registerHotkey(Id id, const Shortcut &shortcut)
{
    const std::optional<Grab> wanted = grabFor(shortcut);
    const int status = wanted ? grab(*wanted) : kBadValue;
    if (status != 0)
        return Failure {QStringLiteral("the X server refused the grab (error %1)").arg(status),
                        status};
    m_grabs.insert_or_assign(id, *wanted);
    return {};
}

void X11HotkeyBackend::unregisterHotkey(Id id)
{
    const auto found = m_grabs.find(id);
    // Once the application object is gone, so is the connection with all its grabs.
    if (found == m_grabs.end() || !QCoreApplication::instance())
        return;
    const Grab removed = found->second;
    m_grabs.erase(found);
    // Another id may hold the same combination; the server knows only one grab for both.
    for (const auto &[otherId, other] : m_grabs) {
        if (other.keycode == removed.keycode && other.modifiers == removed.modifiers)
            return;
    }
    ungrab(removed);
    xcb_flush(m_connection);
}

bool X11HotkeyBackend::isHeldElsewhere(const Shortcut &shortcut)
{
    const std::optional<Grab> trial = grabFor(shortcut);
    if (!trial)
        return false;
    for (const auto &[id, grab] : m_grabs) {
        if (grab.keycode == trial->keycode && grab.modifiers == trial->modifiers)
            return false;
    }
    const int status = grab(*trial);
    if (status == 0) {
        ungrab(*trial);
        xcb_flush(m_connection);
    }
    return status == kBadAccess;
}

std::optional<X11HotkeyBackend::Grab> X11HotkeyBackend::grabFor(const Shortcut &shortcut) const
{
    const std::optional<quint32> keycode = KeyCodeTable::x11Keycode(shortcut.carbonKeyCode());
    const Modifiers::EventFlags flags = shortcut.modifiers();
    // Fn has no X11 modifier.
    if (!keycode || (flags & Modifiers::kFunction))
        return std::nullopt;
    quint16 modifiers = 0;
    if (flags & Modifiers::kShift)
        modifiers |= kShiftMask;
    if (flags & Modifiers::kCommand)
        modifiers |= kControlMask;
    if (flags & Modifiers::kOption)
        modifiers |= m_masks.alt;
    if (flags & Modifiers::kControl)
        modifiers |= m_masks.super;
    return Grab {static_cast<quint8>(*keycode), modifiers, shortcut};
}

int X11HotkeyBackend::grab(const Grab &grab) const
{
    QList<xcb_void_cookie_t> cookies;
    for (quint16 locks : lockCombinations()) {
        cookies.append(xcb_grab_key_checked(m_connection, false, m_root, grab.modifiers | locks,
                                            grab.keycode, XCB_GRAB_MODE_ASYNC,
                                            XCB_GRAB_MODE_ASYNC));
    }
    int status = 0;
    for (const xcb_void_cookie_t &cookie : cookies) {
        if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
            if (status == 0)
                status = error->error_code;
            std::free(error);
        }
    }
    if (status != 0)
        ungrab(grab);
    return status;
}

void X11HotkeyBackend::ungrab(const Grab &grab) const
{
    for (quint16 locks : lockCombinations())
        xcb_ungrab_key(m_connection, grab.keycode, m_root, grab.modifiers | locks);
}

QList<quint16> X11HotkeyBackend::lockCombinations() const
{
    QList<quint16> combinations {0};
    for (quint16 lock : {quint16(XCB_MOD_MASK_LOCK), m_masks.numLock, m_masks.scrollLock}) {
        if (lock == 0)
            continue;
        const qsizetype count = combinations.size();
        for (qsizetype i = 0; i < count; ++i)
            combinations.append(combinations[i] | lock);
    }
    return combinations;
}

quint16 X11HotkeyBackend::significantModifiers() const
{
    return kShiftMask | kControlMask | m_masks.alt | m_masks.super;
}

X11HotkeyBackend::ModifierMasks X11HotkeyBackend::readModifierMasks() const
{
    ModifierMasks masks;
    xcb_get_modifier_mapping_reply_t *mapping = xcb_get_modifier_mapping_reply(
        m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_connection);
    if (mapping && symbols) {
        const xcb_keycode_t *keycodes = xcb_get_modifier_mapping_keycodes(mapping);
        const int perModifier = mapping->keycodes_per_modifier;
        const auto maskOf = [&](std::initializer_list<xcb_keysym_t> keysyms) -> quint16 {
            for (int modifier = 0; modifier < 8; ++modifier) {
                for (int i = 0; i < perModifier; ++i) {
                    const xcb_keycode_t keycode = keycodes[modifier * perModifier + i];
                    for (xcb_keysym_t keysym : keysyms) {
                        if (keycode != 0
                            && (xcb_key_symbols_get_keysym(symbols, keycode, 0) == keysym
                                || xcb_key_symbols_get_keysym(symbols, keycode, 1) == keysym)) {
                            return quint16(1u << modifier);
                        }
                    }
                }
            }
            return 0;
        };
        masks.alt = maskOf({kAltL, kAltR, kMetaL});
        masks.super = maskOf({kSuperL, kSuperR});
        masks.numLock = maskOf({kNumLock});
        masks.scrollLock = maskOf({kScrollLock});
    }
    xcb_key_symbols_free(symbols);
    std::free(mapping);
    // The usual places when the map does not say.
    if (masks.alt == 0)
        masks.alt = XCB_MOD_MASK_1;
    if (masks.super == 0)
        masks.super = XCB_MOD_MASK_4;
    return masks;
}

void X11HotkeyBackend::keyboardChanged()
{
    setCurrentKeyboardLayout(keyboardLayoutFromX11(m_connection));
    const ModifierMasks masks = readModifierMasks();
    if (masks == m_masks)
        return;
    for (const auto &[id, grab] : m_grabs)
        ungrab(grab);
    m_masks = masks;
    std::vector<std::pair<Id, int>> lost;
    for (auto it = m_grabs.begin(); it != m_grabs.end();) {
        const std::optional<Grab> regrab = grabFor(it->second.shortcut);
        const int status = regrab ? grab(*regrab) : kBadValue;
        if (status == 0) {
            it->second = *regrab;
            ++it;
        } else {
            lost.emplace_back(it->first, status);
            it = m_grabs.erase(it);
        }
    }
    xcb_flush(m_connection);
    // Told after the loop: the listener may register or unregister.
    for (const auto &[id, status] : lost)
        reportLost(id, status);
}

bool X11HotkeyBackend::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        const auto *key = static_cast<const xcb_key_press_event_t *>(message);
        return key->event == m_root
            && handleKey(type == XCB_KEY_PRESS, key->detail, key->state, key->time);
    }
    if (m_xkbEventBase != 0 && type == m_xkbEventBase) {
        // Every XKB event shares one number; the second byte says which it is.
        const quint8 xkbType = reinterpret_cast<const quint8 *>(message)[1];
        if (xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY)
            keyboardChanged();
        else if (xkbType == XCB_XKB_STATE_NOTIFY
                 && (static_cast<const xcb_xkb_state_notify_event_t *>(message)->changed
                     & XCB_XKB_STATE_PART_GROUP_STATE)) {
            setCurrentKeyboardLayout(keyboardLayoutFromX11(m_connection));
        }
    }
    return false;
}

bool X11HotkeyBackend::handleKey(bool isPress, quint8 keycode, quint16 state, quint32 time)
{
    const quint16 modifiers = state & significantModifiers();
    const auto found = std::find_if(m_grabs.begin(), m_grabs.end(), [&](const auto &entry) {
        const Grab &grab = entry.second;
        // A release belongs to the key that went down, whatever was let go before it.
        return grab.keycode == keycode && (isPress ? grab.modifiers == modifiers : grab.isDown);
    });
    if (found == m_grabs.end())
        return false;
    const Id id = found->first;
    if (!isPress) {
        finishRelease();
        m_pendingRelease = PendingRelease {id, time};
        m_releaseTimer.start();
        return true;
    }
    // Auto-repeat arrives as a release and a press with the same timestamp.
    if (m_pendingRelease && m_pendingRelease->id == id && m_pendingRelease->time == time) {
        m_releaseTimer.stop();
        m_pendingRelease.reset();
        return true;
    }
    finishRelease();
    // The key-up action just run may have unregistered it.
    const auto current = m_grabs.find(id);
    // Detectable auto-repeat sends further presses without releases.
    if (current == m_grabs.end() || current->second.isDown)
        return true;
    current->second.isDown = true;
    deliver(id, EventType::keyDown);
    return true;
}

void X11HotkeyBackend::finishRelease()
{
    if (!m_pendingRelease)
        return;
    const Id id = m_pendingRelease->id;
    m_pendingRelease.reset();
    m_releaseTimer.stop();
    const auto found = m_grabs.find(id);
    if (found == m_grabs.end())
        return;
    found->second.isDown = false;
    deliver(id, EventType::keyUp);
}

} // namespace Hotkeys
