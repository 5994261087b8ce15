// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What Binzo's command line asks for. Read before anything starts, so --help and --version
// answer without touching the store, the display or a running Binzo.
struct CommandLine
{
    enum class Action {
        // Start Binzo, or hand the links to the running one.
        Run,
        // Print `output` on standard output and exit successfully.
        Print,
    };

    Action action = Action::Run;
    // Run: links to open, in order (binzo://open…).
    QStringList links;
    QString output;

    // The arguments after the program name. Other options are left to Qt (-platform…).
    static CommandLine parse(const QStringList &arguments);
};
