// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/SingleWindow.h"

#include <QObject>

#include <functional>

class OnboardingFlow;
class Preferences;

namespace Hotkeys {
class Registry;
}

// Owns the welcome tour's one window. It is an ordinary window (with a taskbar entry) that
// cannot be closed: the tour ends only through its last page.
class OnboardingWindowController : public QObject
{
    Q_OBJECT
public:
    // Finishing the tour records it in preferences; its recorder stores in hotkeys.
    OnboardingWindowController(Preferences &preferences, Hotkeys::Registry &hotkeys);

    // What finishing the tour opens; the shell passes the quick panel's show.
    void setShowPanel(std::function<void()> showPanel);

    // Opens the tour on its first page, or raises the open one on its current page.
    Q_INVOKABLE void show();
    // The open window, null while none is.
    QQuickWindow *window() const { return m_window.window(); }
    // Records that the tour was seen, closes it and shows the quick panel.
    void finish();
    bool isOpen() const { return m_window.window() != nullptr; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Preferences &m_preferences;
    Hotkeys::Registry &m_hotkeys;
    SingleWindow m_window;
    OnboardingFlow *m_flow = nullptr;
    std::function<void()> m_showPanel;
};
