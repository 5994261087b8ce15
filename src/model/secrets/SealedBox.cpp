// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/SealedBox.h"

#include <sodium.h>

namespace {

const QByteArray kHeader("BINZO-SECRETS\0\0\1", 16);
constexpr qsizetype kNonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr qsizetype kTagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;
static_assert(SealedBox::kKeySize == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);

const unsigned char *bytes(const QByteArray &data)
{
    return reinterpret_cast<const unsigned char *>(data.constData());
}

bool ready()
{
    static const bool initialised = sodium_init() >= 0;
    return initialised;
}

} // namespace

namespace SealedBox {

QByteArray newKey()
{
    QByteArray key(kKeySize, Qt::Uninitialized);
    if (!ready())
        return {};
    crypto_aead_xchacha20poly1305_ietf_keygen(reinterpret_cast<unsigned char *>(key.data()));
    return key;
}

QByteArray seal(const QByteArray &plaintext, const QByteArray &key)
{
    if (!ready() || key.size() != kKeySize)
        return {};
    QByteArray sealed = kHeader;
    sealed.resize(kHeader.size() + kNonceSize + plaintext.size() + kTagSize);
    auto *nonce = reinterpret_cast<unsigned char *>(sealed.data()) + kHeader.size();
    randombytes_buf(nonce, kNonceSize);
    unsigned long long length = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + kNonceSize, &length, bytes(plaintext),
                                               plaintext.size(), bytes(kHeader), kHeader.size(),
                                               nullptr, nonce, bytes(key));
    return sealed;
}

std::optional<QByteArray> open(const QByteArray &sealed, const QByteArray &key)
{
    const qsizetype overhead = kHeader.size() + kNonceSize + kTagSize;
    if (!ready() || key.size() != kKeySize || sealed.size() < overhead
        || !sealed.startsWith(kHeader))
        return std::nullopt;
    // The header is authenticated as associated data as well.
    const auto *nonce = bytes(sealed) + kHeader.size();
    QByteArray plaintext(sealed.size() - overhead, Qt::Uninitialized);
    unsigned long long length = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char *>(plaintext.data()), &length, nullptr,
            nonce + kNonceSize, sealed.size() - kHeader.size() - kNonceSize,
            bytes(sealed.first(kHeader.size())), kHeader.size(), nonce, bytes(key))
        != 0)
        return std::nullopt;
    return plaintext;
}

void wipe(QByteArray &bytes)
{
    if (!bytes.isEmpty())
        sodium_memzero(bytes.data(), size_t(bytes.size()));
    bytes.clear();
}

} // namespace SealedBox
