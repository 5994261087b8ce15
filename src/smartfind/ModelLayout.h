// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "smartfind/ModelFormat.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace ModelFormat {

// Where each section of a model file lies, found only after every header field, every word
// record and every float the lookups use has been checked: a file that passes can be read at
// any index its own tables give without leaving the bytes or allocating more than the bounds
// below allow.
struct Layout
{
    const Header *header = nullptr;
    const float *common = nullptr;
    const WordRecord *words = nullptr;
    const float *scales = nullptr;
    const uint8_t *rows = nullptr;
    const uint32_t *describedFrom = nullptr;
    const uint32_t *describedRows = nullptr;
    const char *strings = nullptr;
    // Bytes of the longest word or phrase: no spelling one edit away from a longer text can
    // be in the vocabulary.
    uint32_t longestWord = 0;
};

// Limits far above any model the builder makes (400 + 64 dimensions, ~200,000 words, phrases
// of up to 6 words) and far below what would let a query allocate or loop without end.
inline constexpr uint32_t kMaxDims = 4096;
inline constexpr uint32_t kMaxWords = 1u << 24;
inline constexpr uint32_t kMaxPhraseWords = 16;
inline constexpr uint32_t kMaxWordBytes = 1024;
inline constexpr uint32_t kMaxDescribed = 1u << 26;

// The layout of the model in [data, data + size), which must be 8-byte aligned; nullopt with
// the first fault found in *error.
std::optional<Layout> locate(const uint8_t *data, uint64_t size, QString *error);

} // namespace ModelFormat
