// SPDX-License-Identifier: GPL-3.0-or-later
#include "smartfind/ModelLayout.h"

#include <QByteArrayView>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ModelFormat {

namespace {

QString outside(const char *field, double value, double low, double high)
{
    return QStringLiteral("damaged model: %1 is %2, outside %3 to %4")
        .arg(QLatin1String(field))
        .arg(value, 0, 'g', 12)
        .arg(low, 0, 'g', 12)
        .arg(high, 0, 'g', 12);
}

bool inRange(double value, double low, double high)
{
    return std::isfinite(value) && value >= low && value <= high;
}

std::optional<QString> headerFault(const Header &h)
{
    const struct
    {
        const char *field;
        double value, low, high;
    } bounds[] = {
        {"semanticDims", double(h.semanticDims), 1, kMaxDims},
        {"trigramDims", double(h.trigramDims), 1, kMaxDims},
        {"commonCount", double(h.commonCount), 0, double(h.semanticDims)},
        {"wordCount", double(h.wordCount), 0, kMaxWords},
        {"rowCount", double(h.rowCount), 0, kMaxWords},
        {"maxPhraseWords", double(h.maxPhraseWords), 1, kMaxPhraseWords},
        {"trigramShare", double(h.trigramShare), 0, 1},
        {"unknownWeight", double(h.unknownWeight), 0, 1},
        {"describedCount", double(h.describedCount), 0, kMaxDescribed},
        {"coverWeight", double(h.coverWeight), 0, 2},
    };
    for (const auto &b : bounds) {
        if (!inRange(b.value, b.low, b.high))
            return outside(b.field, b.value, b.low, b.high);
    }
    // A floor of 1 would divide by zero.
    if (!inRange(h.cosineFloor, 0, 1) || h.cosineFloor == 1.0f)
        return outside("cosineFloor", double(h.cosineFloor), 0, 1);
    return std::nullopt;
}

bool allFinite(const float *values, uint64_t count)
{
    for (uint64_t i = 0; i < count; ++i) {
        if (!std::isfinite(values[i]))
            return false;
    }
    return true;
}

// Lookups are a binary search over the words' texts, which must therefore be in order.
std::optional<QString> wordFault(const Layout &layout, uint32_t *longest)
{
    const Header &h = *layout.header;
    QByteArrayView previous;
    for (uint32_t i = 0; i < h.wordCount; ++i) {
        const WordRecord &w = layout.words[i];
        if (w.length == 0 || w.length > kMaxWordBytes
            || uint64_t(w.stringOffset) + w.length > h.stringBytes)
            return QStringLiteral("damaged model: word %1 lies outside the strings").arg(i);
        if (w.row != kNoRow && w.row >= h.rowCount)
            return QStringLiteral("damaged model: word %1 names row %2 of %3")
                .arg(i)
                .arg(w.row)
                .arg(h.rowCount);
        if (!inRange(w.weight, 0, 1))
            return QStringLiteral("damaged model: word %1 has weight %2").arg(i).arg(w.weight);
        const QByteArrayView text(layout.strings + w.stringOffset, w.length);
        if (i > 0 && text.compare(previous) < 0)
            return QStringLiteral("damaged model: word %1 is out of order").arg(i);
        previous = text;
        *longest = std::max(*longest, w.length);
    }
    return std::nullopt;
}

// Each word's described rows are read from describedFrom[i] to describedFrom[i + 1].
std::optional<QString> describedFault(const Layout &layout)
{
    const Header &h = *layout.header;
    for (uint32_t i = 0; i < h.wordCount; ++i) {
        if (layout.describedFrom[i] > layout.describedFrom[i + 1])
            return QStringLiteral(
                       "damaged model: the described rows of word %1 end before they begin")
                .arg(i);
    }
    if (layout.describedFrom[h.wordCount] != h.describedCount)
        return QStringLiteral("damaged model: the described rows end at %1 of %2")
            .arg(layout.describedFrom[h.wordCount])
            .arg(h.describedCount);
    return std::nullopt;
}

} // namespace

std::optional<Layout> locate(const uint8_t *data, uint64_t size, QString *error)
{
    if (size < sizeof(Header)) {
        *error = QStringLiteral("too short to be a model");
        return std::nullopt;
    }
    Layout layout;
    layout.header = reinterpret_cast<const Header *>(data);
    const Header &h = *layout.header;
    if (std::memcmp(h.magic, kMagic, sizeof h.magic) != 0 || h.version != kVersion) {
        *error = QStringLiteral("not a smart-find model of version %1").arg(kVersion);
        return std::nullopt;
    }
    if (const std::optional<QString> fault = headerFault(h)) {
        *error = *fault;
        return std::nullopt;
    }
    // Within the bounds above every product fits in 48 bits, so no sum below can wrap.
    const uint64_t dims = h.semanticDims;
    const uint64_t commonBytes = alignedSize(uint64_t(h.commonCount) * dims * sizeof(float));
    const uint64_t wordBytes = alignedSize(uint64_t(h.wordCount) * sizeof(WordRecord));
    const uint64_t scaleBytes = alignedSize(uint64_t(h.rowCount) * sizeof(float));
    const uint64_t rowsBytes = alignedSize(uint64_t(h.rowCount) * rowBytes(dims));
    const uint64_t describedFromBytes = alignedSize((uint64_t(h.wordCount) + 1) * sizeof(uint32_t));
    const uint64_t describedRowsBytes = alignedSize(uint64_t(h.describedCount) * sizeof(uint32_t));
    const uint64_t tables = alignedSize(sizeof(Header)) + commonBytes + wordBytes + scaleBytes
        + rowsBytes + describedFromBytes + describedRowsBytes;
    if (tables > size || h.stringBytes != size - tables) {
        const uint64_t expected = tables + std::min<uint64_t>(h.stringBytes, UINT64_MAX - tables);
        *error = QStringLiteral("damaged model (%1 bytes, %2 expected)").arg(size).arg(expected);
        return std::nullopt;
    }
    const uint8_t *at = data + alignedSize(sizeof(Header));
    layout.common = reinterpret_cast<const float *>(at);
    at += commonBytes;
    layout.words = reinterpret_cast<const WordRecord *>(at);
    at += wordBytes;
    layout.scales = reinterpret_cast<const float *>(at);
    at += scaleBytes;
    layout.rows = at;
    at += rowsBytes;
    layout.describedFrom = reinterpret_cast<const uint32_t *>(at);
    at += describedFromBytes;
    layout.describedRows = reinterpret_cast<const uint32_t *>(at);
    at += describedRowsBytes;
    layout.strings = reinterpret_cast<const char *>(at);

    if (!allFinite(layout.common, uint64_t(h.commonCount) * dims)
        || !allFinite(layout.scales, h.rowCount)) {
        *error = QStringLiteral("damaged model: a scale or common direction is not a number");
        return std::nullopt;
    }
    if (const std::optional<QString> fault = wordFault(layout, &layout.longestWord)) {
        *error = *fault;
        return std::nullopt;
    }
    if (const std::optional<QString> fault = describedFault(layout)) {
        *error = *fault;
        return std::nullopt;
    }
    return layout;
}

} // namespace ModelFormat
