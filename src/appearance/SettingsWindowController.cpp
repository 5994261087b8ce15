// SPDX-License-Identifier: GPL-3.0-or-later
#include "appearance/SettingsWindowController.h"

#include "appearance/OnboardingWindowController.h"

SettingsWindowController::SettingsWindowController()
    : m_window(QUrl(QStringLiteral("qrc:/qml/SettingsView.qml")), SingleWindow::Placement::Centred)
{ }

SettingsWindowController &SettingsWindowController::shared()
{
    static SettingsWindowController instance;
    return instance;
}

void SettingsWindowController::show()
{
    m_window.showOrRaise({{"controller", QVariant::fromValue(this)}});
}

void SettingsWindowController::replayWelcomeTour()
{
    OnboardingWindowController::shared().show();
}
