// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WidgetRecorderServices.h"

#include "app/MenuCommands.h"
#include "hotkeys/DesktopShortcuts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace Hotkeys {

namespace {

int showAlert(const RecorderAlert &alert)
{
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), alert.message);
    box.setInformativeText(alert.informativeText);
    box.setWindowModality(Qt::ApplicationModal);
    QList<QAbstractButton *> buttons;
    for (const QString &title : alert.buttons)
        buttons.append(box.addButton(title, QMessageBox::AcceptRole));
    if (buttons.isEmpty())
        buttons.append(box.addButton(QMessageBox::Ok));
    // The first button is the safe answer, also for Escape and closing the box.
    box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
    box.setEscapeButton(buttons.first());
    box.exec();
    return std::max<qsizetype>(0, buttons.indexOf(box.clickedButton()));
}

QList<MenuShortcut> trayMenuShortcuts()
{
    QList<MenuShortcut> items;
    for (const MenuCommand &command : menuCommands())
        items.append({command.title, command.shortcut});
    return items;
}

} // namespace

RecorderServices widgetRecorderServices()
{
    RecorderServices services;
    services.beep = [] { QApplication::beep(); };
    services.alert = showAlert;
    services.menuShortcuts = trayMenuShortcuts;
    services.systemShortcuts = DesktopShortcuts::read;
    return services;
}

} // namespace Hotkeys
