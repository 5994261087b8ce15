// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "smartfind/EmbeddingModel.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class Entry;

// Holder of the embedding model for smart find, with the per-label caches that make a
// keystroke cheap: a label is embedded once until its text changes, a query once per text.
// Labels are embedded ahead of the first query on a worker thread (prepare()).
class SemanticSearch
{
public:
    // Created on first use; loads the model from, in order, $BINZO_MODEL, share/binzo/ beside
    // the running binary's prefix, the build tree and the configured install prefix. Without one,
    // search matches text alone.
    static SemanticSearch &shared();

    // Absent when no model could be loaded.
    const EmbeddingModel *embedding() const { return m_embedding.get(); }
    // The file the model was loaded from; empty without one.
    QString modelPath() const { return m_embedding ? m_modelPath : QString(); }

    // Replaces the model (nullptr: none) and forgets every cached vector, including those still
    // being computed. For tests and tools.
    void setEmbedding(std::unique_ptr<EmbeddingModel> embedding);

    // Takes `entries` as the list the next keystroke scores and embeds, on a worker thread, the
    // labels that have no vector yet, so that keystroke costs what later ones do. The vectors
    // arrive through the event loop; a keystroke before then embeds what is missing itself.
    // Main thread, like everything here.
    void prepare(const QList<Entry *> &entries);
    // Whether the entry's current label has its vector.
    bool isEmbedded(const Entry &entry) const;

    // The entry's label, fully lower-cased, cached until the label changes.
    const QString &loweredLabel(const Entry &entry);

    // Cosine distance in [0, 2] between a lower-cased query and the entry's lower-cased label.
    // Requires a model.
    double distance(const QString &loweredQuery, const Entry &entry);

    // Both of the above for every entry, in order, as one pass of a keystroke needs them;
    // `distance` is absent without a model. Valid until the next call.
    struct LabelMatch
    {
        const QString *lowered;
        std::optional<double> distance;
    };
    const std::vector<LabelMatch> &match(const QString &loweredQuery,
                                         const QList<Entry *> &entries);

    // Where the model is looked for, first match wins.
    static QStringList modelCandidates();

private:
    SemanticSearch();

    static constexpr uint32_t kNoSlot = 0xFFFFFFFFu;
    struct Label
    {
        QString text;
        QString lowered;
        uint32_t slot = kNoSlot; // its vector in m_vectors, once embedded
        float norm = 0;
        std::vector<uint32_t> words; // its separate words in m_words, once embedded
        // Once embedded, what its descriptions need: its terms in m_coverTerms, then its words
        // in m_coverWords, and the weight of all its words.
        std::vector<uint32_t> cover;
        uint32_t coverTerms = 0;
        float weight = 0;
        bool queued = false; // on its way from the worker
    };
    // A label sent to the worker and what came back for it.
    struct Embedded
    {
        const Entry *entry;
        QString lowered;
        EmbeddingModel::Vector vector;
        QStringList words; // its separate words
        EmbeddingModel::Described described;
    };
    // Everything the model says of a label, as a keystroke needs it.
    static void embed(const EmbeddingModel &model, Embedded &label);
    // What the worker embeds at once: its labels, and each of their separate words once.
    struct Batch
    {
        std::vector<Embedded> labels;
        QHash<QString, EmbeddingModel::Vector> words;
    };
    // A term with descriptions that some label names, shared like a Word, and which words of
    // the query it was last measured against its descriptions hold, one bit each.
    struct CoverTerm
    {
        uint32_t term;
        uint64_t held = 0;
        uint64_t query = 0;
    };
    // A word some label holds, and whether the descriptions of that query's terms hold it.
    struct CoverWord
    {
        EmbeddingModel::Described::Word word;
        bool held = false;
        uint64_t query = 0;
    };
    // A separate word of some label (EmbeddingModel::separateWords), shared by every label
    // holding it, and its distance to the query it was last measured against.
    struct Word
    {
        EmbeddingModel::Vector vector;
        double distance = 0;
        uint64_t query = 0; // m_queryNumber of that query
    };
    Label &label(const Entry &entry);
    void refresh(Label &cached, const QString &text);
    void rememberPass(const QList<Entry *> &entries);
    void receive(uint64_t generation, Batch &batch);
    // Keeps what was embedded of the label, embedding the separate words the table lacks
    // unless `words` holds them.
    void store(Label &cached, Embedded &embedded, QHash<QString, EmbeddingModel::Vector> *words);
    void release(Label &cached);
    // The label's vector, embedding it now when it has none.
    const int8_t *labelVector(Label &cached);
    const EmbeddingModel::Vector &queryVector(const QString &loweredQuery);
    // The query with each word the model does not know, but which is one edit from a word of
    // some label, spelled as that word: people mistype the names in their own vault
    // ("docimity" for Doximity), which no dictionary holds.
    QString withLabelSpellings(const QString &loweredQuery);
    // How many labels hold each word (WordForms::tokens of the lowered label), counted anew
    // after labelWordsChanged().
    const QHash<QString, int> &labelWords();
    void labelWordsChanged();
    // EmbeddingModel::cover of the query and the label, from the shared tables: a term or a
    // word is measured once per query, however many labels hold it.
    EmbeddingModel::Cover cover(const Label &cached);
    // The label's distance to the query (EmbeddingModel::labelDistance). Separate words are
    // measured once per query, however many labels share them.
    double labelDistance(const EmbeddingModel::Vector &query, Label &cached);
    // Asks for what scoring the labels a few places after the i-th of the pass will read.
    void prefetchLabels(size_t i, size_t count) const;

    // Shared with the worker, which may still be using a model that was just replaced.
    std::shared_ptr<const EmbeddingModel> m_embedding;
    uint64_t m_generation = 0; // of m_embedding, so a replaced model's vectors are dropped
    QString m_modelPath;
    std::unordered_map<const Entry *, Label> m_labels; // nodes stay put while others come and go
    // Every label vector side by side, one slot of dimensions() each, filled in the order the
    // labels were embedded (the store's): a keystroke reads them nearly in sequence, which
    // matters most for the first one, when none is in a cache yet.
    std::vector<int8_t> m_vectors;
    std::vector<uint32_t> m_freeSlots;
    // Kept while the model is, also for words no label holds any more: a vault's labels share
    // a few thousand words, and a renamed label often takes its words back.
    std::vector<Word> m_words;
    QHash<QString, uint32_t> m_wordIds;
    std::optional<QHash<QString, int>> m_labelWords; // see labelWords()
    std::vector<CoverTerm> m_coverTerms;
    std::unordered_map<uint32_t, uint32_t> m_coverTermIds;
    std::vector<CoverWord> m_coverWords;
    std::unordered_map<uint64_t, uint32_t> m_coverWordIds; // by row and weight
    uint64_t m_queryNumber = 0; // counts the query vectors computed
    // Scoring asks for the lowered label and then the distance of the same entry.
    const Entry *m_lastEntry = nullptr;
    Label *m_lastLabel = nullptr;
    // The entries of the last pass and their labels: the list rarely changes between keystrokes,
    // and finding 10,000 labels again would cost more than scoring them. A renamed entry makes
    // the pass stale, so a keystroke need not compare every label with its entry's.
    std::vector<const Entry *> m_passEntries;
    std::vector<Label *> m_passLabels;
    bool m_passStale = false;
    std::vector<LabelMatch> m_matches;
    QString m_queryText;
    EmbeddingModel::Vector m_queryVector;
    EmbeddingModel::Described m_queryDescribed;
    std::vector<uint32_t> m_queryDescribedRows; // of all its terms, ascending
    QObject m_guard; // receiver of the entries' destroyed() and labelChanged(), and of the
                     // worker's results
    QThreadPool m_worker; // after m_guard: finishes its work before m_guard goes
};
