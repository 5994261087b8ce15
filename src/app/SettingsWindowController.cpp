// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsWindowController.h"

#include "app/OnboardingWindowController.h"

SettingsWindowController::SettingsWindowController()
    : m_window(
        QUrl(QStringLiteral("qrc:/qt-project.org/imports/Binzo/Appearance/qml/SettingsView.qml")))
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
