// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Result.h"

#include <QString>

#include <chrono>

// `binzo copy` without a running Binzo. On X11 the clipboard's value lives only while its
// owner does, so a small process of its own keeps it until another program takes the
// clipboard; a secret at most as long as the panel would keep it (SecretClipboard's
// setting), after which it clears the clipboard.
namespace ClipboardHolder {

// The hidden first argument that makes binzo a holder.
inline const char kArgument[] = "--hold-clipboard";

// Starts the holder with the value (through a pipe, never the arguments) and waits until it
// owns the clipboard. A secret is cleared after clearAfter (zero: only when replaced). A
// Failure when it could not.
Result<void> start(const QString &value, bool isSecret, std::chrono::seconds clearAfter);
// The holder itself: reads the value from standard input, reports on standard output.
int run(int argc, char *argv[]);

} // namespace ClipboardHolder
