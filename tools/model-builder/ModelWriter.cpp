// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModelWriter.h"

#include "smartfind/ModelFormat.h"
#include "smartfind/WordForms.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>

namespace {

using ModelFormat::alignedSize;

constexpr long kNibbleMax = 7;

// Words nearly every label of a vault carries, naming the kind of record rather than what it is
// for: they tell little about which entry is meant.
constexpr const char *kVaultWords[] = {
    "password", "passwd",   "pwd",         "passcode",   "pass",    "login",  "logon",
    "signin",   "username", "credentials", "pin",        "code",    "codes",  "key",
    "number",   "id",       "token",       "account",    "details", "secret", "phone",
    "no",       "ref",      "reference",   "membership", "member",  "portal", "customer",
    "email",    "address",  "card",        "policy",     "online",  "app",
};

void writePadded(std::ofstream &out, const void *data, uint64_t size)
{
    out.write(static_cast<const char *>(data), std::streamsize(size));
    static const char zeros[8] = {};
    out.write(zeros, std::streamsize(alignedSize(size) - size));
}

struct Word
{
    uint32_t row;
    float weight;
};

// Whether `plural` is an English plural of the dictionary noun `singular` and nothing more:
// "scooters" of "scooter", but not "news" of "new" or "gas" of "ga", which WordNet knows as
// words of their own.
bool isPluralOf(const std::string &plural, const std::string &singular, const WordNet &wordNet)
{
    const auto ends = [&plural](const char *suffix) {
        const size_t n = std::strlen(suffix);
        return plural.size() > n && plural.compare(plural.size() - n, n, suffix) == 0;
    };
    const bool formed = (ends("ies") && singular == plural.substr(0, plural.size() - 3) + "y")
        || (ends("es") && singular == plural.substr(0, plural.size() - 2))
        || (ends("s") && singular == plural.substr(0, plural.size() - 1));
    return formed && singular.size() >= 3 && !ends("ss") && !wordNet.findWord(plural)
        && wordNet.findWord(singular);
}

// The rows a word with a meaning has at run time under its plural or singular: "scooters"
// for "scooter", which has a row of its own.
std::map<std::string, std::vector<uint32_t>> otherForms(const std::map<std::string, Word> &words,
                                                        const WordNet &wordNet)
{
    std::map<std::string, std::vector<uint32_t>> forms;
    for (const auto &[text, word] : words) {
        if (word.row == ModelFormat::kNoRow)
            continue;
        for (const QByteArray &base : WordForms::baseForms(QByteArray::fromStdString(text))) {
            if (!isPluralOf(text, base.toStdString(), wordNet))
                continue;
            const auto found = words.find(base.toStdString());
            if (found == words.end() || found->second.row == ModelFormat::kNoRow
                || found->second.row == word.row)
                continue;
            forms[found->first].push_back(word.row);
            forms[text].push_back(found->second.row);
        }
    }
    return forms;
}

// The rows a description's word is matched by at run time: that of its first form with a
// meaning, and those of its other forms, so "scooters" in a description holds "scooter" in a
// query and the other way round.
void addRows(const QString &token, const std::map<std::string, Word> &words,
             const std::map<std::string, std::vector<uint32_t>> &otherForms,
             std::set<uint32_t> &rows)
{
    for (const QByteArray &form : WordForms::baseForms(token.toUtf8())) {
        const auto word = words.find(form.toStdString());
        if (word == words.end() || word->second.row == ModelFormat::kNoRow)
            continue;
        rows.insert(word->second.row);
        if (const auto other = otherForms.find(word->first); other != otherForms.end())
            rows.insert(other->second.begin(), other->second.end());
        return;
    }
}

// Per word in the file's order, where its described rows begin, then those rows: the words of
// its descriptions but those in more than maxShare of all descriptions and search-word lines.
// Counted by line, not by term: a brand with five spellings is described once, not five times.
std::pair<std::vector<uint32_t>, std::vector<uint32_t>>
describedRows(const std::vector<GlossaryEntry> &glossary, const std::map<std::string, Word> &words,
              const WordNet &wordNet, double maxShare)
{
    const auto forms = otherForms(words, wordNet);
    std::map<std::string, std::set<uint32_t>> described;
    std::map<uint32_t, size_t> entriesDescribedBy;
    for (const GlossaryEntry &entry : glossary) {
        std::set<uint32_t> rows;
        for (const QString &token :
             WordForms::tokens(QString::fromStdString(entry.description).toLower()))
            addRows(token, words, forms, rows);
        for (const uint32_t row : rows)
            ++entriesDescribedBy[row];
        for (const std::string &term : entry.terms)
            described[term].insert(rows.begin(), rows.end());
    }
    const double most = maxShare * double(glossary.size());
    std::vector<uint32_t> from {0};
    std::vector<uint32_t> rows;
    for (const auto &[text, word] : words) {
        if (const auto found = described.find(text); found != described.end()) {
            std::copy_if(found->second.begin(), found->second.end(), std::back_inserter(rows),
                         [&](uint32_t row) { return double(entriesDescribedBy[row]) <= most; });
        }
        from.push_back(uint32_t(rows.size()));
    }
    return {std::move(from), std::move(rows)};
}

} // namespace

bool writeModel(const std::string &path, const WordSpace &space, const WordNet &wordNet,
                const Eigen::MatrixXf &common, const std::vector<GlossaryEntry> &glossary,
                const ModelSettings &settings)
{
    // std::map keeps the byte order the reader's binary search expects.
    std::map<std::string, Word> words;
    for (uint32_t row = 0; row < space.size(); ++row)
        words.emplace(space.text(row), Word {row, space.weight(space.text(row))});
    for (const auto &[inflected, base] : wordNet.exceptions) {
        const auto row = space.find(base);
        if (row && !words.count(inflected))
            words.emplace(inflected, Word {*row, space.weight(base)});
    }
    for (const auto &[text, count] : space.counts()) {
        if (count >= settings.minWeightOnlyCount && !words.count(text))
            words.emplace(text, Word {ModelFormat::kNoRow, space.weight(text)});
    }
    // A phrase known only by its search words still needs a record to carry them; without a
    // row it gives no meaning, and no single word can be taken for it.
    for (const GlossaryEntry &entry : glossary) {
        for (const std::string &term : entry.terms) {
            if (term.find(' ') != std::string::npos && !words.count(term))
                words.emplace(term, Word {ModelFormat::kNoRow, 1.0f});
        }
    }

    for (const char *text : kVaultWords) {
        if (const auto word = words.find(text); word != words.end())
            word->second.weight *= settings.vaultWordShare;
    }

    const auto [describedFrom, described]
        = describedRows(glossary, words, wordNet, settings.maxDescribedShare);
    std::vector<ModelFormat::WordRecord> records;
    std::string strings;
    for (const auto &[text, word] : words) {
        records.push_back({uint32_t(strings.size()), uint32_t(text.size()), word.row, word.weight});
        strings += text;
    }

    const auto dims = uint32_t(space.dims());
    std::vector<float> scales(space.size());
    const uint64_t rowBytes = ModelFormat::rowBytes(dims);
    std::vector<uint8_t> rows(space.size() * rowBytes);
    for (uint32_t row = 0; row < space.size(); ++row) {
        const Eigen::VectorXf v = space.vector(row);
        const float largest = v.cwiseAbs().maxCoeff();
        scales[row] = largest > 0 ? largest / float(kNibbleMax) : 1.0f;
        uint8_t *packed = rows.data() + row * rowBytes;
        for (uint32_t i = 0; i < dims; ++i) {
            const long value = std::clamp(std::lround(v(i) / scales[row]), -kNibbleMax, kNibbleMax);
            packed[i / 2] |= uint8_t((value & 0xF) << ((i % 2) * 4));
        }
    }

    ModelFormat::Header header {};
    std::memcpy(header.magic, ModelFormat::kMagic, sizeof header.magic);
    header.version = ModelFormat::kVersion;
    header.semanticDims = dims;
    header.trigramDims = uint32_t(settings.trigramDims);
    header.commonCount = uint32_t(common.rows());
    header.wordCount = uint32_t(records.size());
    header.rowCount = uint32_t(space.size());
    header.stringBytes = strings.size();
    header.trigramShare = settings.trigramShare;
    header.unknownWeight = 1.0f;
    header.maxPhraseWords = uint32_t(space.maxPhraseWords());
    header.cosineFloor = settings.cosineFloor;
    header.describedCount = uint32_t(described.size());
    header.coverWeight = settings.coverWeight;

    const Eigen::Matrix<float, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor> commonRows = common;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    writePadded(out, &header, sizeof header);
    writePadded(out, commonRows.data(), uint64_t(commonRows.size()) * sizeof(float));
    writePadded(out, records.data(), records.size() * sizeof(ModelFormat::WordRecord));
    writePadded(out, scales.data(), scales.size() * sizeof(float));
    writePadded(out, rows.data(), rows.size());
    writePadded(out, describedFrom.data(), describedFrom.size() * sizeof(uint32_t));
    writePadded(out, described.data(), described.size() * sizeof(uint32_t));
    out.write(strings.data(), std::streamsize(strings.size()));
    out.close();
    if (!out) {
        std::cerr << "cannot write " << path << '\n';
        return false;
    }
    return true;
}
