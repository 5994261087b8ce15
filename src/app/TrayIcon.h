// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

// The status-area item "Binzo" and its menu, built from the menu command table. A left click
// opens the panel.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    struct Actions
    {
        std::function<void()> openBinzo;
        std::function<void()> openSettings;
        std::function<void()> quit;
        // A left click on the icon.
        std::function<void()> activate;
    };

    explicit TrayIcon(Actions actions, QObject *parent = nullptr);

    // False when no status area runs now; the icon still appears if one starts later.
    bool isAvailable() const;

    // A balloon from the icon; a click on it runs onClicked (if any).
    void showMessage(const QString &title, const QString &body, std::function<void()> onClicked);

private:
    Actions m_actions;
    std::function<void()> m_onMessageClicked;
    QMenu m_menu;
    QSystemTrayIcon m_icon;
};
