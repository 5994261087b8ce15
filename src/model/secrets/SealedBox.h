// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>

// Authenticated encryption of a whole file's contents: a versioned header, a random 24-byte
// nonce and the XChaCha20-Poly1305 ciphertext; the header is associated data, so changing
// any byte makes opening fail.
namespace SealedBox {

constexpr qsizetype kKeySize = 32;

QByteArray newKey();
QByteArray seal(const QByteArray &plaintext, const QByteArray &key);
// Absent when the data was changed, is not a sealed box, or the key is another.
std::optional<QByteArray> open(const QByteArray &sealed, const QByteArray &key);
// Overwrites sensitive bytes before their memory is released.
void wipe(QByteArray &bytes);

} // namespace SealedBox
