// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "smartfind/ModelLayout.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// A memory-mapped word-vector model (built from WordNet, GloVe and the glossaries by
// tools/model-builder) that turns a short English text into a unit vector: greedy multi-word
// phrases, SIF-weighted average of word vectors minus the common direction, plus hashed
// character trigrams so typos and unknown words land near their neighbours.
class EmbeddingModel
{
public:
    // nullptr with a reason in *error when the file is missing, damaged or not a model.
    static std::unique_ptr<EmbeddingModel> open(const QString &path, QString *error = nullptr);
    // The same from a copy of the bytes, for tests and the fuzzer.
    static std::unique_ptr<EmbeddingModel> fromBytes(const QByteArray &bytes,
                                                     QString *error = nullptr);
    ~EmbeddingModel();

    // A text's meaning as a direction, stored in 8 bits per component: a cached label costs a
    // few hundred bytes, so scoring thousands of labels per keystroke stays within the caches.
    struct Vector
    {
        std::vector<int8_t> components;
        float norm = 0; // of the components; 0 for a text without letters or digits
    };

    // Number of components of a vector.
    int dimensions() const;
    // Only the first kMaxTextLength UTF-16 units of the text count: a label or query is a few
    // words, and a pasted page must not cost a page's worth of lookups on every keystroke.
    static constexpr qsizetype kMaxTextLength = 256;
    Vector vector(const QString &text) const;
    // The words of a label that are measured on their own as well as together, so that "Hydro
    // One account" answers "power bill" though "account" pulls its whole meaning elsewhere:
    // every word with a letter but the frequent ones that carry no meaning (unknown words stay,
    // for their spelling); none for a label of fewer than two such words. Single words, not the
    // phrases vector() finds: measured, phrases ranked worse. Then, for any word the glossaries
    // gave a meaning beside its everyday one, that meaning alone ("stripe" the payments service
    // beside "stripe" the line), so neither sense hides the other.
    QStringList separateWords(const QString &text) const;
    // The vector of one of separateWords().
    Vector wordVector(const QString &word) const;
    // Whether the model knows a word (lower case) in some dictionary form, spelled as it is, or
    // a word or phrase beginning with it.
    bool knowsOrBegins(const QString &word) const;

    // What the glossaries can say of a text: its words as found in descriptions (each known
    // word's row and weight, the first kMaxDescribedWords of them, and the weight of all its
    // words, unknown ones included), and the terms it names that have descriptions, ascending.
    // "Internet provider" finds "Spectrum account no." by the words Spectrum's description and
    // search words use, however far their average lies from the label's vector.
    struct Described
    {
        struct Word
        {
            uint32_t row;
            float weight;
        };
        std::vector<Word> words;
        float weight = 0;
        std::vector<uint32_t> terms;
    };
    static constexpr size_t kMaxDescribedWords = 64;
    Described described(const QString &text) const;
    // vector() and described() of one text, reading each of its words once: a query needs
    // both on every keystroke, and a word being typed costs a spelling search to read.
    struct Meaning
    {
        Vector vector;
        Described described;
    };
    Meaning meaning(const QString &text) const;
    // The rows of the words in a term's descriptions and search words, ascending.
    std::span<const uint32_t> describedRows(uint32_t term) const
    {
        return {m_describedRows + m_describedFrom[term],
                m_describedRows + m_describedFrom[term + 1]};
    }
    // How much of the query the label's descriptions hold, and of the label the query's
    // descriptions hold ("sainsbury's" for "Nectar card"), each as a share of its weight.
    struct Cover
    {
        double query = 0;
        double label = 0;
        // Naming what the query is described by says less than being described by the query.
        double either() const
        {
            constexpr double kReverseShare = 0.75;
            return std::max(query, kReverseShare * label);
        }
    };
    Cover cover(const Described &query, const Described &label) const;

    // A query's distance to a label: its distance to the whole text and to the closest of the
    // label's separate words, when that word is closer, weighed three to two, lowered by their
    // cover(). A query about the whole label still beats one about a single word of it.
    // SemanticSearch computes the same from cached vectors; this is the reference its tests
    // check it against.
    double labelDistance(const QString &query, const QString &label) const;
    double labelDistance(double whole, double closestWord, Cover cover) const
    {
        const double vectors = 0.6 * whole + 0.4 * std::min(whole, closestWord);
        const double either = cover.either();
        // A query half held counts for about a third: one common word shared with a long
        // description says less than the half of the query it is. A quarter of the distance
        // stays, and an eighth below, so only a label holding the query can reach 0 and count
        // as a strong match.
        const double covered = std::max(
            vectors / 4, vectors - double(m_header->coverWeight) * either * std::sqrt(either));
        // Less than most of the query only ranks a label, up to the edge of the near matches:
        // a query for nothing in the vault must not list labels whose descriptions share one
        // of its words. Such labels keep their covered order just past that edge, nudged by
        // so little that no other label's distance falls between them.
        if (either < kMostOfTheQuery)
            return std::max(covered, std::min(vectors, kNearMatchDistance + covered * 1e-6));
        // A label whose descriptions hold most of the query ranks at about the edge of the near
        // matches however far its own vector lies: a brand's name tells the vectors little of
        // what it is ("Deputy login" for "work rota"). Of the labels holding the query, one
        // the query also describes ranks first: "gp" holds "family" and "doc" of "Dr. Rao
        // family doc" and nothing of "Dentist", whose descriptions hold "gp" as well.
        return std::max(vectors / 8,
                        std::min(covered, kWellHeldDistance + covered / 20)
                            - kHeldBothWays * cover.query * cover.label);
    }
    // Search lists a label closer than this (a similarity over 0.62) as a near match.
    static constexpr double kNearMatchDistance = 0.76;

    // Cosine distance in [0, 2] of two vectors, calibrated so that unrelated texts sit at 1 or
    // beyond.
    double distance(const Vector &a, const Vector &b) const;
    double distance(const QString &a, const QString &b) const;
    // The same against a vector kept elsewhere as dimensions() components and their norm.
    double distance(const Vector &a, const int8_t *b, float bNorm) const;

private:
    static constexpr double kMostOfTheQuery = 0.65;
    static constexpr double kWellHeldDistance = 0.74;
    static constexpr double kHeldBothWays = 0.1;

    EmbeddingModel() = default;

    bool map(const QString &path, QString *error);
    bool attach(const uint8_t *data, uint64_t size, QString *error);
    QByteArrayView textOf(const ModelFormat::WordRecord &record) const;
    // The first record whose text is not before `key` in byte order.
    const ModelFormat::WordRecord *firstNotBefore(const QByteArray &key) const;
    // The record of a vocabulary word or phrase (UTF-8, lower case), nullptr when unknown.
    const ModelFormat::WordRecord *find(const QByteArray &word) const;
    // Whether the record at `index` has descriptions or search words.
    bool isDescribed(uint32_t index) const;
    // A described term "word ..." of each entry such terms belong to, when few enough; else none.
    std::vector<uint32_t> qualifiedForms(const QByteArray &word) const;
    // A rare word beginning a dozen or so brands names each of them ("octopus" the energy
    // supplier or the fare card); one beginning more ("home", "national") names none, nor does
    // a common word ("no", "six", "top") or a number ("2" of "Flat 2") that begins more than
    // one.
    static constexpr size_t kMaxQualifiedEntries = 14;
    static constexpr float kRareWordWeight = 0.95f;
    // A token as the model reads it: itself (or its one-edit spelling), else the parts of
    // "wi-fi" or "dogwalker", each with its record, nullptr when unknown.
    struct Reading
    {
        QString text;
        const ModelFormat::WordRecord *record;
    };
    std::vector<Reading> read(const QString &token) const;
    // A text's tokens, each with how it reads.
    struct Text
    {
        QStringList tokens;
        std::vector<std::vector<Reading>> readings;
    };
    Text readText(const QString &text) const;
    Vector vectorOf(const Text &text) const;
    Described describedOf(const Text &text) const;
    // The record of a token's first dictionary form with a meaning, else of one without.
    const ModelFormat::WordRecord *lookUpForms(const QByteArray &token) const;
    // The record giving a token its meaning: a dictionary form, else a one-edit spelling.
    const ModelFormat::WordRecord *lookUpToken(const QByteArray &token) const;
    // An unknown token as two words with meanings, written together; empty when it is not.
    QStringList compoundParts(const QString &token) const;
    // The vector of summed meaning and trigram parts: without the common directions, each part
    // normalised, joined by the trigram share and quantised.
    Vector finish(std::vector<float> &semantic, std::vector<float> &trigrams) const;
    void addRow(const ModelFormat::WordRecord &record, float weight, std::vector<float> &sum) const;
    void addReadings(const std::vector<Reading> &readings, std::vector<float> &semantic,
                     std::vector<float> &trigrams) const;
    void addTrigrams(const QString &token, float weight, std::vector<float> &sum) const;

    QFile m_file;
    std::vector<uint64_t> m_copy; // 8-byte aligned, as the sections need
    const ModelFormat::Header *m_header = nullptr;
    const ModelFormat::WordRecord *m_words = nullptr;
    const float *m_scales = nullptr;
    const char *m_strings = nullptr;
    const uint8_t *m_rows = nullptr;
    const uint32_t *m_describedFrom = nullptr;
    const uint32_t *m_describedRows = nullptr;
    const float *m_common = nullptr;
    uint32_t m_longestWord = 0;
};
