// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/PanelPlatform.h"
#include "platform/x11/KeyboardHandoff.h"
#include "platform/x11/OutsideClickMonitor.h"

// The quick panel's window-system needs on X11. Build it before the hot-key backend is
// installed, so that the backend still sees every key on the root window first.
class X11PanelPlatform : public PanelPlatform
{
public:
    void preparePanelWindow(QWindow *window, const QRect &inputRegion) override;
    void setInputRegion(QWindow *window, const QRect &inputRegion) override;
    void beginKeyboardHandoff(QWindow *target) override { m_keyboard.begin(target); }
    void endKeyboardHandoff() override { m_keyboard.end(); }
    bool isKeyboardHandoffActive() const override { return m_keyboard.isActive(); }
    bool watchPresses(std::function<void()> onPress) override
    {
        return m_clicks.install(std::move(onPress));
    }
    void stopWatchingPresses() override { m_clicks.remove(); }

private:
    OutsideClickMonitor m_clicks;
    KeyboardHandoff m_keyboard;
};
