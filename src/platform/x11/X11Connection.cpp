// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11Connection.h"

#include <QGuiApplication>
#include <QRect>
#include <QWindow>

#include <xcb/shape.h>

#include <cstring>

namespace X11Connection {

namespace {

xcb_atom_t atom(const char *name)
{
    xcb_connection_t *c = connection();
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return result;
}

} // namespace

bool displayReachable()
{
    int screen = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screen);
    const bool ok = xcb_connection_has_error(c) == 0;
    xcb_disconnect(c);
    return ok;
}

xcb_connection_t *connection()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow()
{
    xcb_connection_t *c = connection();
    if (!c)
        return XCB_WINDOW_NONE;
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

void setWindowClass(QWindow *window, const char *name)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const size_t length = std::strlen(name);
    QByteArray value(name, qsizetype(length + 1));
    value.append(name, qsizetype(length + 1));
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window->winId()), XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, uint32_t(value.size()), value.constData());
}

void setInputRegion(QWindow *window, const QRect &region)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const xcb_rectangle_t rectangle {int16_t(region.x()), int16_t(region.y()),
                                     uint16_t(region.width()), uint16_t(region.height())};
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                         xcb_window_t(window->winId()), 0, 0, 1, &rectangle);
}

void setOnAllWorkspaces(QWindow *window)
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const auto id = xcb_window_t(window->winId());
    const uint32_t allDesktops = 0xFFFFFFFF;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL,
                        32, 1, &allDesktops);
    // Set before the first map; Qt keeps states it does not manage itself.
    const xcb_atom_t states[] = {atom("_NET_WM_STATE_STICKY"), atom("_NET_WM_STATE_SKIP_TASKBAR"),
                                 atom("_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 3,
                        states);
}

} // namespace X11Connection
