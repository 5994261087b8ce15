// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsWindowController.h"

#include "app/OnboardingWindowController.h"
#include "model/Preferences.h"
#include "quick/SecretClipboard.h"

SettingsWindowController::SettingsWindowController()
    : m_window(
        QUrl(QStringLiteral("qrc:/qt-project.org/imports/Binzo/Appearance/qml/SettingsView.qml")),
        SingleWindow::Placement::Centred)
{
    connect(&Preferences::shared(), &Preferences::valueChanged, this, [this](const QString &key) {
        if (key == SecretClipboard::kPreferenceKey)
            emit clipboardClearSecondsChanged();
    });
}

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

int SettingsWindowController::clipboardClearSeconds() const
{
    return int(SecretClipboard::clearAfter(Preferences::shared()).count());
}

void SettingsWindowController::setClipboardClearSeconds(int seconds)
{
    Preferences::shared().setInteger(SecretClipboard::kPreferenceKey, seconds);
}

QVariantList SettingsWindowController::clipboardClearChoices() const
{
    return SecretClipboard::choices();
}
