// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/secrets/PassphraseSeal.h"

#include "model/secrets/SealedBox.h"

#include <QtEndian>

#include <sodium.h>

namespace {

const QByteArray kMagic("BINZO-EXPORT\0\0\0\1", 16);
constexpr qsizetype kSaltSize = crypto_pwhash_SALTBYTES;
constexpr qsizetype kHeaderSize = 16 + 8 + 8 + kSaltSize;
// About a second and 256 MiB per guess here; files may ask for up to four times that.
constexpr quint64 kOpsLimit = crypto_pwhash_OPSLIMIT_MODERATE;
constexpr quint64 kMemLimit = crypto_pwhash_MEMLIMIT_MODERATE;
constexpr quint64 kMaxOpsLimit = 4 * kOpsLimit;
constexpr quint64 kMaxMemLimit = 4 * kMemLimit;

QByteArray deriveKey(const QByteArray &passphrase, const QByteArray &salt, quint64 ops, quint64 mem)
{
    QByteArray key(SealedBox::kKeySize, Qt::Uninitialized);
    if (sodium_init() < 0
        || crypto_pwhash(reinterpret_cast<unsigned char *>(key.data()), quint64(key.size()),
                         passphrase.constData(), quint64(passphrase.size()),
                         reinterpret_cast<const unsigned char *>(salt.constData()), ops,
                         size_t(mem), crypto_pwhash_ALG_ARGON2ID13)
            != 0)
        return {};
    return key;
}

} // namespace

namespace PassphraseSeal {

bool isSealed(const QByteArray &data)
{
    return data.startsWith(kMagic);
}

QByteArray seal(const QByteArray &plaintext, const QByteArray &passphrase)
{
    if (sodium_init() < 0)
        return {};
    QByteArray salt(kSaltSize, Qt::Uninitialized);
    randombytes_buf(salt.data(), size_t(salt.size()));
    QByteArray key = deriveKey(passphrase, salt, kOpsLimit, kMemLimit);
    if (key.isEmpty())
        return {};
    QByteArray header = kMagic;
    header.resize(kHeaderSize - kSaltSize);
    qToLittleEndian<quint64>(kOpsLimit, header.data() + kMagic.size());
    qToLittleEndian<quint64>(kMemLimit, header.data() + kMagic.size() + 8);
    const QByteArray sealed = header + salt + SealedBox::seal(plaintext, key);
    SealedBox::wipe(key);
    return sealed;
}

std::optional<QByteArray> open(const QByteArray &sealed, const QByteArray &passphrase)
{
    if (!isSealed(sealed) || sealed.size() < kHeaderSize)
        return std::nullopt;
    const quint64 ops = qFromLittleEndian<quint64>(sealed.constData() + kMagic.size());
    const quint64 mem = qFromLittleEndian<quint64>(sealed.constData() + kMagic.size() + 8);
    if (ops < crypto_pwhash_OPSLIMIT_MIN || ops > kMaxOpsLimit || mem < crypto_pwhash_MEMLIMIT_MIN
        || mem > kMaxMemLimit)
        return std::nullopt;
    // The costs and salt are not authenticated on their own: a changed one gives another key.
    QByteArray key
        = deriveKey(passphrase, sealed.mid(kHeaderSize - kSaltSize, kSaltSize), ops, mem);
    if (key.isEmpty())
        return std::nullopt;
    std::optional<QByteArray> plaintext = SealedBox::open(sealed.mid(kHeaderSize), key);
    SealedBox::wipe(key);
    return plaintext;
}

} // namespace PassphraseSeal
