// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "smartfind/EmbeddingModel.h"

#include <QObject>
#include <QString>
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
    // Created on first use; loads the model from, in order, $BINZO_MODEL, the build tree and
    // the installed share/binzo/. Without one, search matches text alone.
    static SemanticSearch &shared();

    // Absent when no model could be loaded.
    const EmbeddingModel *embedding() const { return m_embedding.get(); }

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
        bool queued = false; // on its way from the worker
    };
    // A label sent to the worker and what came back for it.
    struct Embedded
    {
        const Entry *entry;
        QString lowered;
        EmbeddingModel::Vector vector;
    };
    Label &label(const Entry &entry);
    void refresh(Label &cached, const QString &text);
    void rememberPass(const QList<Entry *> &entries);
    void receive(uint64_t generation, std::vector<Embedded> &embedded);
    void store(Label &cached, const EmbeddingModel::Vector &vector);
    void release(Label &cached);
    // The label's vector, embedding it now when it has none.
    const int8_t *labelVector(Label &cached);
    const EmbeddingModel::Vector &queryVector(const QString &loweredQuery);

    // Shared with the worker, which may still be using a model that was just replaced.
    std::shared_ptr<const EmbeddingModel> m_embedding;
    uint64_t m_generation = 0; // of m_embedding, so a replaced model's vectors are dropped
    std::unordered_map<const Entry *, Label> m_labels; // nodes stay put while others come and go
    // Every label vector side by side, one slot of dimensions() each, filled in the order the
    // labels were embedded (the store's): a keystroke reads them nearly in sequence, which
    // matters most for the first one, when none is in a cache yet.
    std::vector<int8_t> m_vectors;
    std::vector<uint32_t> m_freeSlots;
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
    QObject m_guard; // receiver of the entries' destroyed() and labelChanged(), and of the
                     // worker's results
    QThreadPool m_worker; // after m_guard: finishes its work before m_guard goes
};
