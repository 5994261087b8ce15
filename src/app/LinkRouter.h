// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The links Binzo answers: binzo://open and binzo:open show the quick panel.
namespace LinkRouter {

// True when the link's scheme is exactly "binzo" and its host is "open" or, with no such host,
// its path is "open". Case matters; binzo:///open (path "/open") and binzo://close do nothing.
bool opensPanel(const QString &link);
// How many of these links show the panel: each accepted one shows it once more.
int panelShowCount(const QStringList &links);

} // namespace LinkRouter
