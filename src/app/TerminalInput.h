// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reading what a person types for a command: passphrases and values never come from the
// arguments, which every user can read in the process list.
namespace TerminalInput {

// One line typed on the controlling terminal without echo, after the prompt; absent, with
// *error, when there is no terminal. Echo comes back even when the line is interrupted.
std::optional<QByteArray> readHidden(const QString &prompt, QString *error);
// The first line (without its line break) of an open file descriptor, e.g. a pipe.
std::optional<QByteArray> readLine(int fd, QString *error);
// Standard input to its end, or its first limit + 1 bytes when it is longer.
QByteArray readAll(qsizetype limit);
bool isTerminal(int fd);

} // namespace TerminalInput
