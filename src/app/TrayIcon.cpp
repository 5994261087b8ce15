// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TrayIcon.h"

#include "app/MenuCommands.h"

#include <QIcon>

TrayIcon::TrayIcon(Actions actions, QObject *parent)
    : QObject(parent)
    , m_actions(std::move(actions))
{
    const QList<MenuCommand> commands = menuCommands();
    for (const MenuCommand &command : commands) {
        // A separator between each command, as in the menu table.
        if (!m_menu.actions().isEmpty())
            m_menu.addSeparator();
        QAction *action = m_menu.addAction(command.title);
        action->setShortcut(command.shortcut);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, [this, id = command.id] {
            switch (id) {
            case MenuCommand::Id::OpenBinzo:
                m_actions.openBinzo();
                break;
            case MenuCommand::Id::Settings:
                m_actions.openSettings();
                break;
            case MenuCommand::Id::Quit:
                m_actions.quit();
                break;
            }
        });
    }
    m_icon.setIcon(QIcon(QStringLiteral(":/icons/binzo.svg")));
    m_icon.setToolTip(QStringLiteral("Binzo"));
    m_icon.setContextMenu(&m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    m_actions.activate();
            });
    connect(&m_icon, &QSystemTrayIcon::messageClicked, this, [this] {
        if (m_onMessageClicked)
            m_onMessageClicked();
    });
    m_icon.show();
}

void TrayIcon::showMessage(const QString &title, const QString &body,
                           std::function<void()> onClicked)
{
    m_onMessageClicked = std::move(onClicked);
    m_icon.showMessage(title, body, QSystemTrayIcon::Warning);
}

bool TrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}
