// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/X11PanelPlatform.h"

#include "platform/x11/X11Connection.h"

void X11PanelPlatform::preparePanelWindow(QWindow *window, const QRect &inputRegion)
{
    X11Connection::setWindowClass(window, "binzo");
    X11Connection::setOnAllWorkspaces(window);
    X11Connection::setInputRegion(window, inputRegion);
}

void X11PanelPlatform::setInputRegion(QWindow *window, const QRect &inputRegion)
{
    X11Connection::setInputRegion(window, inputRegion);
}
