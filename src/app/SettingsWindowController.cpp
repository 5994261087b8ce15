// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsWindowController.h"

#include "app/AboutInfo.h"
#include "app/OnboardingWindowController.h"
#include "appearance/SecretStoreSettings.h"
#include "hotkeys/Hotkeys.h"
#include "model/Autostart.h"
#include "model/Preferences.h"
#include "model/secrets/KeychainStore.h"
#include "model/store/DataController.h"
#include "quick/SecretClipboard.h"
#include "smartfind/SemanticSearch.h"

#include <QCoreApplication>
#include <QVariantMap>

SettingsWindowController::SettingsWindowController(Parts parts)
    : m_parts(parts)
    , m_window(
          QUrl(QStringLiteral("qrc:/qt-project.org/imports/Binzo/Appearance/qml/SettingsView.qml")),
          SingleWindow::Placement::Centred)
{
    const Hotkeys::Notifier *hotkeys = m_parts.hotkeys.notifier();
    connect(hotkeys, &Hotkeys::Notifier::shortcutByNameDidChange, this,
            &SettingsWindowController::shortcutStatusChanged);
    connect(hotkeys, &Hotkeys::Notifier::registrationStatusDidChange, this,
            &SettingsWindowController::shortcutStatusChanged);
    connect(&m_parts.preferences, &Preferences::valueChanged, this, [this](const QString &key) {
        if (key == SecretClipboard::kPreferenceKey)
            emit clipboardClearSecondsChanged();
    });
}

QObject *SettingsWindowController::hotkeys() const
{
    return &m_parts.hotkeys;
}

void SettingsWindowController::show()
{
    // The files may have changed since the window was last open (the desktop's own startup
    // settings, the secret store chosen meanwhile).
    emit startAtLoginChanged();
    emit locationsChanged();
    m_window.showOrRaise({{"controller", QVariant::fromValue(this)}});
}

void SettingsWindowController::replayWelcomeTour()
{
    m_parts.tour.show();
}

QString SettingsWindowController::shortcutCaption() const
{
    const Hotkeys::Name &name = Hotkeys::Name::togglePanel();
    if (const Result<void> registration = m_parts.hotkeys.registration(name); !registration)
        return registration.error() + u' ' + tr("Record another one above.");
    return tr("Press this anywhere to open Binzo.");
}

bool SettingsWindowController::shortcutFails() const
{
    return !m_parts.hotkeys.registration(Hotkeys::Name::togglePanel());
}

bool SettingsWindowController::startAtLogin() const
{
    return Autostart::isEnabled();
}

void SettingsWindowController::setStartAtLogin(bool on)
{
    const Result<void> changed
        = on ? Autostart::enable(QCoreApplication::applicationFilePath()) : Autostart::disable();
    m_startAtLoginError
        = changed ? QString() : QStringLiteral("Couldn\u2019t change it: ") + changed.error();
    emit startAtLoginChanged();
}

QString SettingsWindowController::versionText() const
{
    return AboutInfo::versionText();
}

QVariantList SettingsWindowController::locations() const
{
    QVariantList list;
    for (const AboutInfo::Location &location :
         AboutInfo::locations(m_parts.preferences, m_parts.semantic.modelPath()))
        list.append(QVariantMap {{"title", location.title}, {"place", location.place}});
    return list;
}

int SettingsWindowController::clipboardClearSeconds() const
{
    return int(SecretClipboard::clearAfter(m_parts.preferences).count());
}

void SettingsWindowController::setClipboardClearSeconds(int seconds)
{
    m_parts.preferences.setInteger(SecretClipboard::kPreferenceKey, seconds);
}

QVariantList SettingsWindowController::clipboardClearChoices() const
{
    return SecretClipboard::choices();
}

QObject *SettingsWindowController::secretStore()
{
    if (!m_secretStore)
        m_secretStore = new SecretStoreSettings(m_parts.store, m_parts.secrets, this);
    return m_secretStore;
}
