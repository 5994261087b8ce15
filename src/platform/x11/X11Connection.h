// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <xcb/xcb.h>

class QWindow;
class QRect;

// Qt's own X connection and the few window properties Qt has no API for. Every function does
// nothing (or answers null) on a platform other than X11.
namespace X11Connection {

// Whether an X display can be reached at all; usable before Qt connects.
bool displayReachable();

xcb_connection_t *connection();
xcb_window_t rootWindow();

// WM_CLASS, both parts.
void setWindowClass(QWindow *window, const char *name);
// Only this rectangle of the window takes pointer input; the rest (a shadow) lets clicks
// through to what lies below.
void setInputRegion(QWindow *window, const QRect &region);
// Shown on every workspace and kept out of taskbars and pagers.
void setOnAllWorkspaces(QWindow *window);

} // namespace X11Connection
