// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SettingsWindowController.h"

#include "app/AboutInfo.h"
#include "app/OnboardingWindowController.h"
#include "model/Autostart.h"
#include "smartfind/SemanticSearch.h"

#include <QCoreApplication>
#include <QVariantMap>

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
    // The files may have changed since the window was last open (the desktop's own startup
    // settings, the secret store chosen meanwhile).
    emit startAtLoginChanged();
    emit locationsChanged();
    m_window.showOrRaise({{"controller", QVariant::fromValue(this)}});
}

void SettingsWindowController::replayWelcomeTour()
{
    OnboardingWindowController::shared().show();
}

bool SettingsWindowController::startAtLogin() const
{
    return Autostart::isEnabled();
}

void SettingsWindowController::setStartAtLogin(bool on)
{
    QString error;
    const bool done = on ? Autostart::enable(QCoreApplication::applicationFilePath(), &error)
                         : Autostart::disable(&error);
    m_startAtLoginError = done ? QString() : QStringLiteral("Couldn\u2019t change it: ") + error;
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
         AboutInfo::locations(SemanticSearch::shared().modelPath()))
        list.append(QVariantMap {{"title", location.title}, {"place", location.place}});
    return list;
}
