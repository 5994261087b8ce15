// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/QuickPanel.h"
#include "model/EventLoopScheduler.h"
#include "quick/QuickAccessViewModel.h"
#include "quick/SecretClipboard.h"
#include "quick/SystemClipboard.h"

#include <QElapsedTimer>
#include <QObject>
#include <QParallelAnimationGroup>
#include <QPointer>
#include <QPropertyAnimation>
#include <QTimer>

#include <memory>

class DataController;
class PanelPlatform;
class Preferences;
class SemanticSearch;
class QQmlEngine;

// Builds the quick panel once, shows it under the pointer with its fade and spring, hides it
// on an outside click, on focus loss or when the view dismisses it, and announces each
// showing ("binzoPanelDidShow").
class QuickPanelController : public QObject
{
    Q_OBJECT
public:
    QuickPanelController(QQmlEngine &engine, DataController &store, SemanticSearch &semantic,
                         Preferences &preferences, PanelPlatform &platform,
                         QObject *parent = nullptr);
    ~QuickPanelController() override;

    QuickPanel *panel() const { return m_panel.get(); }
    QuickAccessViewModel &viewModel() { return m_viewModel; }
    SecretClipboard &clipboard() { return m_secretClipboard; }
    // From the moment show() maps the panel until its fade-out has finished.
    bool isPanelVisible() const { return m_visible; }

    void show();
    void hide();
    // The global shortcut's action: hide a visible panel, show a hidden one.
    void toggle();
    // True when the panel hid because of a click or focus elsewhere within the last moments,
    // so a click on the tray icon that caused it does not show the panel straight again.
    bool justHidByOutsideActivity() const;

signals:
    // "binzoPanelDidShow": at the end of every showing of the panel.
    void binzoPanelDidShow();

private:
    void warmUp();
    void place();
    void hideForOutsideActivity();
    void onOutsideClick();
    void finishShowing();
    QQuickItem *content() const;

    std::unique_ptr<QuickPanel> m_panel;
    SystemClipboard m_clipboard;
    EventLoopScheduler m_timers;
    SecretClipboard m_secretClipboard;
    QuickAccessViewModel m_viewModel;
    PanelPlatform &m_platform;
    QPropertyAnimation m_fadeIn;
    QPropertyAnimation m_springIn;
    QPropertyAnimation m_fadeOut;
    bool m_visible = false;
    // The window manager moves the panel: the focus it takes meanwhile is no reason to hide.
    bool m_moving = false;
    bool m_tracingFrame = false;
    QElapsedTimer m_sinceOutsideHide;
    QTimer m_focusLoss;
};
