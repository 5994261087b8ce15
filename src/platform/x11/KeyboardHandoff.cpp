// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/KeyboardHandoff.h"

#include "platform/x11/X11Connection.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace {

// Window managers focus a new window within a few frames; past this, give the keyboard back.
constexpr int kSafetyMs = 1000;
constexpr int kPollMs = 10;

} // namespace

KeyboardHandoff::KeyboardHandoff(QObject *parent)
    : QObject(parent)
{
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &KeyboardHandoff::endIfHandedOver);
    m_safety.setSingleShot(true);
    m_safety.setInterval(kSafetyMs);
    connect(&m_safety, &QTimer::timeout, this, &KeyboardHandoff::end);
    // Installed for good, and before the hot-key backend: filters run newest first, so the
    // backend sees (and may take) every key before it is re-addressed here.
    QCoreApplication::instance()->installNativeEventFilter(this);
}

KeyboardHandoff::~KeyboardHandoff()
{
    end();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void KeyboardHandoff::begin(QWindow *target)
{
    end();
    xcb_connection_t *c = X11Connection::connection();
    if (!c || !target || target->isActive())
        return;
    xcb_grab_keyboard_reply_t *reply = xcb_grab_keyboard_reply(
        c,
        xcb_grab_keyboard(c, 0, X11Connection::rootWindow(), XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC,
                          XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool grabbed = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    if (!grabbed)
        return;
    m_target = target;
    m_active = true;
    m_activeConnection = connect(target, &QWindow::activeChanged, this, [this] {
        if (m_target && m_target->isActive())
            endWhenKeysAreUp();
    });
    m_safety.start();
}

void KeyboardHandoff::endWhenKeysAreUp()
{
    m_endPending = true;
    m_poll.start();
    endIfHandedOver();
}

void KeyboardHandoff::endIfHandedOver()
{
    if (m_active && m_endPending && focusIsOnTarget() && !anyKeyDown())
        end();
}

// Qt may call the window active before the X server has moved the input focus to it.
bool KeyboardHandoff::focusIsOnTarget() const
{
    xcb_connection_t *c = X11Connection::connection();
    xcb_get_input_focus_reply_t *focus
        = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    if (!focus)
        return false;
    const bool onTarget = m_target && focus->focus == xcb_window_t(m_target->winId());
    std::free(focus);
    return onTarget;
}

bool KeyboardHandoff::anyKeyDown()
{
    xcb_connection_t *c = X11Connection::connection();
    xcb_query_keymap_reply_t *keymap = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr);
    if (!keymap)
        return false;
    const bool down = std::any_of(std::begin(keymap->keys), std::end(keymap->keys),
                                  [](uint8_t bits) { return bits != 0; });
    std::free(keymap);
    return down;
}

void KeyboardHandoff::end()
{
    if (!m_active)
        return;
    m_active = false;
    m_endPending = false;
    m_poll.stop();
    m_safety.stop();
    m_target.clear();
    disconnect(m_activeConnection);
    if (xcb_connection_t *c = X11Connection::connection()) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
}

bool KeyboardHandoff::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (!m_active || !m_target || eventType != "xcb_generic_event_t")
        return false;
    auto *event = static_cast<xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & 0x7F;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // Both event kinds share this layout. Re-addressed to the panel, Qt hands the key to the
    // panel's focused item even before the window manager has focused the window.
    auto *key = static_cast<xcb_key_press_event_t *>(message);
    if (key->event == X11Connection::rootWindow()) {
        key->event = xcb_window_t(m_target->winId());
        key->child = XCB_WINDOW_NONE;
    }
    if (type == XCB_KEY_RELEASE)
        QTimer::singleShot(0, this, &KeyboardHandoff::endIfHandedOver);
    return false;
}
