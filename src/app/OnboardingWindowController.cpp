// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OnboardingWindowController.h"

#include "appearance/OnboardingFlow.h"
#include "hotkeys/Hotkeys.h"
#include "model/Preferences.h"

#include <QEvent>
#include <QQuickWindow>

OnboardingWindowController::OnboardingWindowController(Preferences &preferences,
                                                       Hotkeys::Registry &hotkeys)
    : m_preferences(preferences)
    , m_hotkeys(hotkeys)
    , m_window(QUrl(QStringLiteral(
                   "qrc:/qt-project.org/imports/Binzo/Appearance/qml/OnboardingView.qml")),
               SingleWindow::Placement::Centred)
{ }

void OnboardingWindowController::setShowPanel(std::function<void()> showPanel)
{
    m_showPanel = std::move(showPanel);
}

void OnboardingWindowController::show()
{
    if (isOpen()) {
        m_window.showOrRaise({});
        return;
    }
    auto *flow = new OnboardingFlow(this);
    connect(flow, &OnboardingFlow::finished, this, &OnboardingWindowController::finish);
    QQuickWindow *window
        = m_window.showOrRaise({{"flow", QVariant::fromValue(flow)},
                                {"hotkeys", QVariant::fromValue<QObject *>(&m_hotkeys)}});
    if (!window) {
        delete flow;
        return;
    }
    flow->setParent(window);
    window->installEventFilter(this);
}

void OnboardingWindowController::finish()
{
    m_preferences.setBoolean(QStringLiteral("binzo.hasOnboarded"), true);
    m_window.close();
    if (m_showPanel)
        m_showPanel();
}

bool OnboardingWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && watched == m_window.window()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
