// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The smart-find model file, written by tools/model-builder and memory-mapped at run time.
// Little-endian, every section 8-byte aligned, in this order after the header:
//   common   float[commonCount][semanticDims]  directions removed from every sentence vector
//   words    WordRecord[wordCount]             sorted by the bytes of their UTF-8 text
//   scales   float[rowCount]                   per-row dequantisation factor
//   rows     uint8[rowCount][rowBytes]         unit word vectors, 4 bits per component: two's
//                                              complement nibbles, the low one first
//   describedFrom uint32[wordCount + 1]         where each word's described rows begin in
//                                              describedRows, ascending; the last is
//                                              describedCount
//   describedRows uint32[describedCount]        per word, ascending: the rows of the words its
//                                              glossary descriptions use
//   strings  char[stringBytes]                 the words' texts, lower case, phrases with ' '
// A word the glossaries give a meaning of its own beside an everyday one ("stripe", a payments
// service) keeps that meaning in a second record, the word followed by kSenseMark.
#include <cstdint>

namespace ModelFormat {

inline constexpr char kMagic[8] = {'B', 'Z', 'S', 'F', 'M', 'D', 'L', '1'};
inline constexpr uint32_t kVersion = 3;
inline constexpr char kSenseMark = '*';
inline constexpr uint32_t kNoRow = 0xFFFFFFFFu; // a weight-only word: frequent, no meaning

struct Header
{
    char magic[8];
    uint32_t version;
    uint32_t semanticDims;
    uint32_t trigramDims;
    uint32_t commonCount;
    uint32_t wordCount;
    uint32_t rowCount;
    uint64_t stringBytes;
    float trigramShare; // weight of the trigram part against the meaning part
    float unknownWeight; // SIF weight of a word the model has never seen
    uint32_t maxPhraseWords;
    // Cosine that counts as unrelated: raw cosines of word averages are rarely negative, so
    // the distance maps [cosineFloor, 1] onto [1, 0], and lower cosines beyond 1.
    float cosineFloor;
    uint32_t describedCount;
    // How far a label's distance falls when its terms' descriptions hold every word of the
    // query; in proportion for part of them.
    float coverWeight;
};

struct WordRecord
{
    uint32_t stringOffset;
    uint32_t length;
    uint32_t row; // kNoRow for weight-only words
    float weight; // SIF weight a / (a + p(word))
};

static_assert(sizeof(Header) == 64);
static_assert(sizeof(WordRecord) == 16);

inline constexpr uint64_t rowBytes(uint64_t dims)
{
    return (dims + 1) / 2;
}

// The signed value of component i of a packed row.
inline int nibble(const uint8_t *row, uint32_t i)
{
    const int bits = (row[i / 2] >> ((i % 2) * 4)) & 0xF;
    return bits >= 8 ? bits - 16 : bits;
}

inline constexpr uint64_t alignedSize(uint64_t size)
{
    return (size + 7) & ~uint64_t(7);
}

} // namespace ModelFormat
