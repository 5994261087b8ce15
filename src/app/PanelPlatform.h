// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

#include <functional>

class QWindow;

// What the quick panel needs from the window system beyond Qt; the X11 one is in
// platform/x11, tests use a fake. Each call does nothing where the system offers none.
class PanelPlatform
{
public:
    virtual ~PanelPlatform() = default;

    // Names the created window "binzo", shows it on every workspace out of taskbars and
    // pagers, and lets only inputRegion take pointer input (the rest, a shadow, lets clicks
    // through to what lies below).
    virtual void preparePanelWindow(QWindow *window, const QRect &inputRegion) = 0;
    // The pointer-input rectangle again, after the window changed size.
    virtual void setInputRegion(QWindow *window, const QRect &inputRegion) = 0;

    // Keeps every key typed between the hot key and the window manager's focus change for
    // target, until it has the focus, end() or a safety delay.
    virtual void beginKeyboardHandoff(QWindow *target) = 0;
    virtual void endKeyboardHandoff() = 0;
    virtual bool isKeyboardHandoffActive() const = 0;

    // Reports button presses anywhere on the display until stopped; false where that cannot
    // be watched.
    virtual bool watchPresses(std::function<void()> onPress) = 0;
    virtual void stopWatchingPresses() = 0;
};
