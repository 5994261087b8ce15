// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandRequest.h"

#include <QString>
#include <QStringList>

// What the arguments ask for: the tray app (with links to open), help, the version, or a
// subcommand for scripts. Pure, so it runs before any window system is touched.
namespace CommandLine {

struct Invocation
{
    enum class Kind { RunApp, Help, Version, Command, UsageError };
    Kind kind = Kind::RunApp;
    QStringList links; // RunApp
    QString text; // Help: the help to print; UsageError: what is wrong
    CommandRequest request; // Command
};

// The arguments after the program's name.
Invocation parse(const QStringList &arguments);
QString versionText();

} // namespace CommandLine
