// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "smartfind/EmbeddingModel.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class Entry;

// Holder of the embedding model for smart find, with the per-label caches that make a
// keystroke cheap: a label is embedded once until its text changes, a query once per text.
class SemanticSearch
{
public:
    // Created on first use; loads the model from, in order, $BINZO_MODEL, the build tree and
    // the installed share/binzo/. Without one, search matches text alone.
    static SemanticSearch &shared();

    // Absent when no model could be loaded.
    const EmbeddingModel *embedding() const { return m_embedding.get(); }

    // Replaces the model (nullptr: none) and forgets every cached vector. For tests and tools.
    void setEmbedding(std::unique_ptr<EmbeddingModel> embedding);

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

    struct Label
    {
        QString text;
        QString lowered;
        EmbeddingModel::Vector vector; // no components until first needed
    };
    Label &label(const Entry &entry);
    static void refresh(Label &cached, const QString &text);
    const EmbeddingModel::Vector &labelVector(Label &cached) const;
    const EmbeddingModel::Vector &queryVector(const QString &loweredQuery);

    std::unique_ptr<EmbeddingModel> m_embedding;
    std::unordered_map<const Entry *, Label> m_labels; // nodes stay put while others come and go
    // Scoring asks for the lowered label and then the distance of the same entry.
    const Entry *m_lastEntry = nullptr;
    Label *m_lastLabel = nullptr;
    // The entries of the last pass and their labels: the list rarely changes between keystrokes,
    // and finding 10,000 labels again would cost more than scoring them.
    std::vector<const Entry *> m_passEntries;
    std::vector<Label *> m_passLabels;
    std::vector<LabelMatch> m_matches;
    QString m_queryText;
    EmbeddingModel::Vector m_queryVector;
    QObject m_guard; // receiver of destroyed() so forgotten entries leave the cache
};
