// SPDX-License-Identifier: GPL-3.0-or-later
#include "smartfind/SemanticSearch.h"

#include "model/records/Entry.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

SemanticSearch &SemanticSearch::shared()
{
    static SemanticSearch instance;
    return instance;
}

QStringList SemanticSearch::modelCandidates()
{
    QStringList candidates;
    const QString fromEnvironment = qEnvironmentVariable("BINZO_MODEL");
    if (!fromEnvironment.isEmpty())
        candidates.append(fromEnvironment);
#ifdef BINZO_MODEL_BUILD_PATH
    candidates.append(QStringLiteral(BINZO_MODEL_BUILD_PATH));
#endif
    candidates.append(QStringLiteral(BINZO_MODEL_INSTALL_PATH));
    return candidates;
}

SemanticSearch::SemanticSearch()
{
    const QStringList candidates = modelCandidates();
    for (const QString &path : candidates) {
        if (!QFileInfo::exists(path))
            continue;
        QString error;
        m_embedding = EmbeddingModel::open(path, &error);
        if (!m_embedding)
            qWarning("Smart find matches text only: %s", qPrintable(error));
        return;
    }
    qWarning("Smart find matches text only: no model at %s", qPrintable(candidates.join(", ")));
}

void SemanticSearch::setEmbedding(std::unique_ptr<EmbeddingModel> embedding)
{
    m_embedding = std::move(embedding);
    for (auto &[entry, label] : m_labels)
        label.vector = {};
    m_queryText.clear();
    m_queryVector = {};
}

void SemanticSearch::refresh(Label &cached, const QString &text)
{
    if (cached.text == text)
        return;
    cached.text = text;
    cached.lowered = text.toLower();
    cached.vector = {};
}

SemanticSearch::Label &SemanticSearch::label(const Entry &entry)
{
    const QString &text = entry.fields().label; // no copy: this runs per entry per keystroke
    if (m_lastEntry == &entry) {
        refresh(*m_lastLabel, text);
        return *m_lastLabel;
    }
    auto found = m_labels.find(&entry);
    if (found == m_labels.end()) {
        QObject::connect(&entry, &QObject::destroyed, &m_guard, [this, key = &entry] {
            m_labels.erase(key);
            m_lastEntry = nullptr;
            m_passEntries.clear(); // a new entry may be born at the same address
            m_passLabels.clear();
        });
        found = m_labels.emplace(&entry, Label {text, text.toLower(), {}}).first;
    }
    Label &cached = found->second;
    refresh(cached, text);
    m_lastEntry = &entry;
    m_lastLabel = &cached;
    return cached;
}

const QString &SemanticSearch::loweredLabel(const Entry &entry)
{
    return label(entry).lowered;
}

const EmbeddingModel::Vector &SemanticSearch::labelVector(Label &cached) const
{
    if (cached.vector.components.empty())
        cached.vector = m_embedding->vector(cached.lowered);
    return cached.vector;
}

const EmbeddingModel::Vector &SemanticSearch::queryVector(const QString &loweredQuery)
{
    const bool sameQuery = m_queryText.constData() == loweredQuery.constData()
        && m_queryText.size() == loweredQuery.size();
    if (m_queryVector.components.empty() || (!sameQuery && m_queryText != loweredQuery)) {
        m_queryText = loweredQuery;
        m_queryVector = m_embedding->vector(loweredQuery);
    }
    return m_queryVector;
}

double SemanticSearch::distance(const QString &loweredQuery, const Entry &entry)
{
    return m_embedding->distance(queryVector(loweredQuery), labelVector(label(entry)));
}

const std::vector<SemanticSearch::LabelMatch> &SemanticSearch::match(const QString &loweredQuery,
                                                                     const QList<Entry *> &entries)
{
    if (!std::equal(m_passEntries.begin(), m_passEntries.end(), entries.begin(), entries.end())) {
        m_passEntries.assign(entries.begin(), entries.end());
        m_passLabels.clear();
        for (const Entry *entry : entries)
            m_passLabels.push_back(&label(*entry));
    }
    const EmbeddingModel::Vector *query = m_embedding ? &queryVector(loweredQuery) : nullptr;
    m_matches.resize(m_passLabels.size());
    for (size_t i = 0; i < m_passLabels.size(); ++i) {
        Label &cached = *m_passLabels[i];
        refresh(cached, m_passEntries[i]->fields().label);
        m_matches[i].lowered = &cached.lowered;
        m_matches[i].distance = query
            ? std::optional(m_embedding->distance(*query, labelVector(cached)))
            : std::nullopt;
    }
    return m_matches;
}
