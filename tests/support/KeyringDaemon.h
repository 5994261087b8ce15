// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// Puts the desktop harness's gnome-keyring-daemon (tests/harness/with-desktop.sh) into the
// states a user's keyring can be in: hung, locked, restarted. Only that daemon is touched, by
// the process id its bus name reports.
namespace KeyringDaemon {

// The password the harness unlocks the login keyring with.
inline const QString kPassword = QStringLiteral("binzo-test");

// The process that owns org.freedesktop.secrets on the session bus.
std::optional<qint64> pid();
// SIGSTOP / SIGCONT: the daemon keeps its bus name but answers nothing meanwhile.
bool stop(qint64 pid);
bool resume(qint64 pid);
// Locks the login collection, as the desktop does after a while or on a screen lock.
bool lock();
// Ends the daemon and starts a fresh one with the same home and keyring, unlocked.
bool restart();
// Types the password into the unlock prompt the daemon shows (gcr-prompter) and confirms.
bool answerUnlockPrompt(int timeoutMs);

} // namespace KeyringDaemon
