// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FailureNotices.h"

#include "hotkeys/Hotkeys.h"
#include "model/Preferences.h"
#include "model/secrets/SecretBackendChoice.h"

FailureNotices::FailureNotices(DesktopNotifier &notifier, const Hotkeys::Registry &hotkeys,
                               std::function<void()> openSettings, QObject *parent)
    : QObject(parent)
    , m_notifier(notifier)
    , m_openSettings(std::move(openSettings))
{
    const Hotkeys::Notifier *notices = hotkeys.notifier();
    connect(notices, &Hotkeys::Notifier::registrationStatusDidChange, this,
            [this, &hotkeys](const Hotkeys::Shortcut &shortcut) {
                const Result<void> registration = hotkeys.registration(shortcut);
                if (registration)
                    return;
                m_notifier.notify(
                    {tr("Shortcut not available"),
                     registration.error() + u' ' + tr("Choose another shortcut in Settings."),
                     tr("Open Settings"), m_openSettings});
            });
    connect(notices, &Hotkeys::Notifier::unreadableShortcutReplaced, this,
            [this](const Hotkeys::Name &name) {
                const std::optional<Hotkeys::Shortcut> now = name.defaultShortcut();
                m_notifier.notify(
                    {tr("Shortcut preference not understood"),
                     tr("The stored shortcut %1 could not be read, so %2 is used "
                        "instead. Choose another shortcut in Settings.")
                         .arg(name.storageKey(), now ? now->description() : QString()),
                     tr("Open Settings"), m_openSettings});
            });
}

void FailureNotices::checkPreferences(const Preferences &preferences)
{
    if (const std::optional<QString> unknown = SecretBackendChoice::unknownChoice(preferences)) {
        m_notifier.notify(
            {tr("Secret store preference not understood"),
             tr("%1 in %2 is \"%3\", which is neither \"%4\" nor \"%5\". Binzo "
                "chooses the store as on a first start until it is corrected.")
                 .arg(SecretBackendChoice::kPreferenceKey, preferences.filePath(), *unknown,
                      SecretBackendChoice::kSecretService, SecretBackendChoice::kFile),
             {},
             {}});
    }
}

void FailureNotices::reportRuntimeFolder(const QString &error)
{
    m_notifier.notify({tr("Binzo runs without its private folder"),
                       error + QStringLiteral(". ")
                           + tr("Links and a second start will open another Binzo instead of "
                                "reaching this one."),
                       {},
                       {}});
}
