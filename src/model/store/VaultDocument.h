// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Result.h"
#include "model/records/Entry.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// The export file's content: a versioned JSON document of binzos and entries, which holds
// whatever the store can hold (so an export imported into an empty store gives the same store).
namespace VaultDocument {

constexpr int kVersion = 1;

struct BinzoRecord
{
    QUuid id;
    QString name;
    QString sfSymbol;
    QString colorHex;
    qint64 sortIndex = 0;
    QDateTime createdAt;

    friend bool operator==(const BinzoRecord &, const BinzoRecord &) = default;
};

struct Contents
{
    // When false, sensitive entries carry no value.
    bool withSecrets = false;
    QList<BinzoRecord> binzos;
    // inlineValue carries the value: an ordinary entry's own, a sensitive entry's secret.
    QList<Entry::Fields> entries;
};

QByteArray write(const Contents &contents);
// The whole document checked before anything is used: a Failure naming the first fault when it
// is not an export of this version or any record is malformed.
Result<Contents> read(const QByteArray &json);

} // namespace VaultDocument
