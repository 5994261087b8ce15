// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandRequest.h"
#include "model/Result.h"

#include <functional>

class KeychainStore;

// A subcommand run from a terminal or a script: gathers its input (a value from standard
// input, the file to import, a passphrase), has the running Binzo carry it out so that its
// windows stay right, or with none running opens the store itself, and delivers the reply.
// Touches no window system unless a copy must keep the clipboard itself.
namespace CommandClient {

// Puts a value on the clipboard for good, without a running Binzo to own it; a Failure when it
// cannot.
using KeepOnClipboard = std::function<Result<void>(const QString &value, bool isSecret)>;

// The secret store, asked for only when no running Binzo carries the command out.
using Secrets = std::function<KeychainStore &()>;

// Needs a QCoreApplication. Returns the exit code.
int run(CommandRequest request, const KeepOnClipboard &keepOnClipboard, const Secrets &secrets);

} // namespace CommandClient
