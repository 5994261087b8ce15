// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>

// A file's contents encrypted with a passphrase, for backups that carry secrets: Argon2id
// turns the passphrase into a key (its salt and costs stored in the header), and SealedBox
// encrypts. Changing any byte, header included, makes opening fail.
namespace PassphraseSeal {

// Whether the data starts like a sealed file (it may still be damaged).
bool isSealed(const QByteArray &data);
// Empty when the key cannot be derived (not enough memory).
QByteArray seal(const QByteArray &plaintext, const QByteArray &passphrase);
// Absent for a wrong passphrase, a damaged or truncated file, or costs beyond the bounds
// this program would ever write (a hostile header must not make it allocate gigabytes).
std::optional<QByteArray> open(const QByteArray &sealed, const QByteArray &passphrase);

} // namespace PassphraseSeal
