// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandRequest.h"

// A subcommand run from a terminal or a script: gathers its input (a value from standard
// input, the file to import, a passphrase), has the running Binzo carry it out so that its
// windows stay right, or with none running opens the store itself, and delivers the reply.
// Touches no window system unless a copy must keep the clipboard itself.
namespace CommandClient {

// Needs a QCoreApplication. Returns the exit code.
int run(CommandRequest request);

} // namespace CommandClient
