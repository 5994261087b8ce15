// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsWindowController.h"

#include "app/OnboardingWindowController.h"
#include "appearance/SecretStoreSettings.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"

SettingsWindowController::SettingsWindowController()
    : m_window(
        QUrl(QStringLiteral("qrc:/qt-project.org/imports/Binzo/Appearance/qml/SettingsView.qml")),
        SingleWindow::Placement::Centred)
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

QObject *SettingsWindowController::secretStore()
{
    if (!m_secretStore)
        m_secretStore
            = new SecretStoreSettings(DataController::shared(), KeychainStore::shared(), this);
    return m_secretStore;
}
