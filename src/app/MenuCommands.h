// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// The tray menu's commands with their key equivalents. The tray builds its menu from this
// table and the shortcut recorder refuses combinations that clash with it.
struct MenuCommand
{
    enum class Id { OpenBinzo, Settings, Quit };
    Id id;
    QString title;
    QKeySequence shortcut;
};

inline QList<MenuCommand> menuCommands()
{
    return {
        {MenuCommand::Id::OpenBinzo, QStringLiteral("Open Binzo"),
         QKeySequence(Qt::CTRL | Qt::Key_O)},
        {MenuCommand::Id::Settings, QStringLiteral("Settings\u2026"),
         QKeySequence(Qt::CTRL | Qt::Key_Comma)},
        {MenuCommand::Id::Quit, QStringLiteral("Quit Binzo"), QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
}
