// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "smartfind/ModelFormat.h"

#include <QByteArray>

#include <cstring>
#include <vector>

// A valid smart-find model of four words, built in memory. Its parts can be changed one by one
// before bytes() lays them out, so a test or a fuzz seed can damage exactly one field.
struct TinyModel
{
    ModelFormat::Header header {};
    std::vector<float> common;
    std::vector<ModelFormat::WordRecord> words;
    std::vector<float> scales;
    std::vector<uint8_t> rows;
    std::vector<uint32_t> describedFrom;
    std::vector<uint32_t> describedRows;
    QByteArray strings;

    TinyModel()
    {
        std::memcpy(header.magic, ModelFormat::kMagic, sizeof header.magic);
        header.version = ModelFormat::kVersion;
        header.semanticDims = 4;
        header.trigramDims = 8;
        header.trigramShare = 0.3f;
        header.unknownWeight = 1.0f;
        header.maxPhraseWords = 2;
        header.cosineFloor = 0.2f;
        header.coverWeight = 0.5f;
        common = {0.5f, 0.5f, 0.5f, 0.5f};
        // Sorted by their bytes; "the" carries a weight but no meaning.
        const struct
        {
            const char *text;
            uint32_t row;
            float weight;
        } vocabulary[] = {{"address", 0, 0.6f},
                          {"home address", 1, 0.8f},
                          {"passport", 2, 0.7f},
                          {"the", ModelFormat::kNoRow, 0.01f}};
        for (const auto &word : vocabulary) {
            words.push_back({uint32_t(strings.size()), uint32_t(std::strlen(word.text)), word.row,
                             word.weight});
            strings += word.text;
        }
        // Two components per byte: rows (1, -2, 3, 0), (7, 7, -8, 1), (0, 0, 0, 5).
        rows = {0xE1, 0x03, 0x77, 0x18, 0x00, 0x50};
        scales = {0.1f, 0.05f, 0.2f};
        // "passport" is described by "address".
        describedFrom = {0, 0, 0, 1, 1};
        describedRows = {0};
        header.commonCount = 1;
        header.wordCount = uint32_t(words.size());
        header.rowCount = uint32_t(scales.size());
        header.stringBytes = uint64_t(strings.size());
        header.describedCount = uint32_t(describedRows.size());
    }

    // The file: the header as it stands, then every section padded to 8 bytes.
    QByteArray bytes() const
    {
        QByteArray out;
        const auto append = [&out](const void *data, size_t size) {
            out.append(static_cast<const char *>(data), qsizetype(size));
            out.append(QByteArray(qsizetype(ModelFormat::alignedSize(size) - size), '\0'));
        };
        append(&header, sizeof header);
        append(common.data(), common.size() * sizeof(float));
        append(words.data(), words.size() * sizeof(ModelFormat::WordRecord));
        append(scales.data(), scales.size() * sizeof(float));
        append(rows.data(), rows.size());
        append(describedFrom.data(), describedFrom.size() * sizeof(uint32_t));
        append(describedRows.data(), describedRows.size() * sizeof(uint32_t));
        out.append(strings);
        return out;
    }
};
