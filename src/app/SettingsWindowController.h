// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/SingleWindow.h"

#include <QObject>
#include <QVariantList>

class DataController;
class KeychainStore;
class OnboardingWindowController;
class Preferences;
class SecretStoreSettings;
class SemanticSearch;

namespace Hotkeys {
class Registry;
}

// Owns the settings window: opening it again raises the open one.
class SettingsWindowController : public QObject
{
    Q_OBJECT
    // Under the shortcut row: what the shortcut does, or why it does not work.
    Q_PROPERTY(QString shortcutCaption READ shortcutCaption NOTIFY shortcutStatusChanged)
    Q_PROPERTY(bool shortcutFails READ shortcutFails NOTIFY shortcutStatusChanged)
    // The autostart entry's real state, read from the file whenever it is asked for.
    Q_PROPERTY(bool startAtLogin READ startAtLogin WRITE setStartAtLogin NOTIFY startAtLoginChanged)
    // Why the last change of startAtLogin failed; empty after a success.
    Q_PROPERTY(QString startAtLoginError READ startAtLoginError NOTIFY startAtLoginChanged)
    Q_PROPERTY(QString versionText READ versionText CONSTANT)
    // Each a map of title and place (a path, or where sensitive values live).
    Q_PROPERTY(QVariantList locations READ locations NOTIFY locationsChanged)
    // How long a copied secret stays on the clipboard, in seconds (0: until replaced).
    Q_PROPERTY(int clipboardClearSeconds READ clipboardClearSeconds WRITE setClipboardClearSeconds
                   NOTIFY clipboardClearSecondsChanged)
    // {seconds, label} per choice, in order.
    Q_PROPERTY(QVariantList clipboardClearChoices READ clipboardClearChoices CONSTANT)
    // Where sensitive values live; made when the window first needs it.
    Q_PROPERTY(QObject *secretStore READ secretStore CONSTANT)
    // Where the General tab's recorder stores the shortcut.
    Q_PROPERTY(QObject *hotkeys READ hotkeys CONSTANT)
public:
    // What the window shows and changes; tour is the one the General tab replays.
    struct Parts
    {
        Preferences &preferences;
        Hotkeys::Registry &hotkeys;
        OnboardingWindowController &tour;
        DataController &store;
        KeychainStore &secrets;
        SemanticSearch &semantic;
    };
    explicit SettingsWindowController(Parts parts);

    Q_INVOKABLE void show();
    // The open window, null while none is.
    QQuickWindow *window() const { return m_window.window(); }
    // The welcome tour, replayed from the General tab; it leaves "binzo.hasOnboarded" alone.
    Q_INVOKABLE void replayWelcomeTour();
    QObject *secretStore();
    QObject *hotkeys() const;

    QString shortcutCaption() const;
    bool shortcutFails() const;

    bool startAtLogin() const;
    // Writes or removes the autostart entry for the running binary.
    void setStartAtLogin(bool on);
    QString startAtLoginError() const { return m_startAtLoginError; }
    QString versionText() const;
    QVariantList locations() const;

    int clipboardClearSeconds() const;
    void setClipboardClearSeconds(int seconds);
    QVariantList clipboardClearChoices() const;

signals:
    void shortcutStatusChanged();
    void startAtLoginChanged();
    void locationsChanged();
    void clipboardClearSecondsChanged();

private:
    Parts m_parts;
    SingleWindow m_window;
    QString m_startAtLoginError;
    SecretStoreSettings *m_secretStore = nullptr;
};
