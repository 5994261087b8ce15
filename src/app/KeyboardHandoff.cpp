// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeyboardHandoff.h"

#include "app/X11Connection.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdlib>

namespace {

// Window managers focus a new window within a few frames; past this, give the keyboard back.
constexpr int kSafetyMs = 1000;

} // namespace

KeyboardHandoff::KeyboardHandoff(QObject *parent)
    : QObject(parent)
{
}

KeyboardHandoff::~KeyboardHandoff()
{
    end();
}

void KeyboardHandoff::begin(QWindow *target)
{
    end();
    xcb_connection_t *c = X11Connection::connection();
    if (!c || !target || target->isActive())
        return;
    xcb_grab_keyboard_reply_t *reply = xcb_grab_keyboard_reply(
        c,
        xcb_grab_keyboard(c, 0, X11Connection::rootWindow(), XCB_CURRENT_TIME,
                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool grabbed = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(reply);
    if (!grabbed)
        return;
    m_target = target;
    m_active = true;
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_activeConnection = connect(target, &QWindow::activeChanged, this, [this] {
        if (m_target && m_target->isActive())
            end();
    });
    QTimer::singleShot(kSafetyMs, this, [this, target] {
        if (m_target == target)
            end();
    });
}

void KeyboardHandoff::end()
{
    if (!m_active)
        return;
    m_active = false;
    m_target.clear();
    disconnect(m_activeConnection);
    QCoreApplication::instance()->removeNativeEventFilter(this);
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
    // Both event kinds share this layout. Re-addressed to the panel, Qt delivers the key to
    // the panel's focused item even before the window manager has focused the window.
    auto *key = static_cast<xcb_key_press_event_t *>(message);
    if (key->event == X11Connection::rootWindow()) {
        key->event = xcb_window_t(m_target->winId());
        key->child = XCB_WINDOW_NONE;
    }
    return false;
}
