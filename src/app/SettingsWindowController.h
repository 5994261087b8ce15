// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/SingleWindow.h"

#include <QObject>
#include <QVariantList>

class SecretStoreSettings;

// Owns the settings window: opening it again raises the open one.
class SettingsWindowController : public QObject
{
    Q_OBJECT
    // Under the shortcut row: what the shortcut does, or why it does not work.
    Q_PROPERTY(QString shortcutCaption READ shortcutCaption NOTIFY shortcutStatusChanged)
    Q_PROPERTY(bool shortcutFails READ shortcutFails NOTIFY shortcutStatusChanged)
    // How long a copied secret stays on the clipboard, in seconds (0: until replaced).
    Q_PROPERTY(int clipboardClearSeconds READ clipboardClearSeconds WRITE setClipboardClearSeconds
                   NOTIFY clipboardClearSecondsChanged)
    // {seconds, label} per choice, in order.
    Q_PROPERTY(QVariantList clipboardClearChoices READ clipboardClearChoices CONSTANT)
    // Where sensitive values live; made when the window first needs it.
    Q_PROPERTY(QObject *secretStore READ secretStore CONSTANT)
public:
    static SettingsWindowController &shared();

    Q_INVOKABLE void show();
    // The open window, null while none is.
    QQuickWindow *window() const { return m_window.window(); }
    // The welcome tour, replayed from the General tab; it leaves "binzo.hasOnboarded" alone.
    Q_INVOKABLE void replayWelcomeTour();
    QObject *secretStore();

    QString shortcutCaption() const;
    bool shortcutFails() const;

    int clipboardClearSeconds() const;
    void setClipboardClearSeconds(int seconds);
    QVariantList clipboardClearChoices() const;

signals:
    void shortcutStatusChanged();
    void clipboardClearSecondsChanged();

private:
    SettingsWindowController();

    SingleWindow m_window;
    SecretStoreSettings *m_secretStore = nullptr;
};
