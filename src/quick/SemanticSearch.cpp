// SPDX-License-Identifier: GPL-3.0-or-later
#include "quick/SemanticSearch.h"

#include "model/Entry.h"

#include <QFileInfo>
#include <QStringList>

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
    for (Label &label : m_labels)
        label.vector = {};
    m_lastEntry = nullptr;
    m_queryText.clear();
    m_queryVector = {};
}

SemanticSearch::Label &SemanticSearch::label(const Entry &entry)
{
    if (m_lastEntry == &entry && m_lastLabel->text == entry.fields().label)
        return *m_lastLabel;
    auto found = m_labels.find(&entry);
    if (found == m_labels.end()) {
        QObject::connect(&entry, &QObject::destroyed, &m_guard, [this, key = &entry] {
            m_labels.remove(key);
            m_lastEntry = nullptr;
        });
        const QString &text = entry.fields().label;
        found = m_labels.insert(&entry, Label {text, text.toLower(), {}});
    }
    Label &cached = found.value();
    const QString &text = entry.fields().label; // no copy: this runs per entry per keystroke
    if (cached.text != text) {
        cached.text = text;
        cached.lowered = text.toLower();
        cached.vector = {};
    }
    m_lastEntry = &entry;
    m_lastLabel = &cached;
    return cached;
}

const QString &SemanticSearch::loweredLabel(const Entry &entry)
{
    return label(entry).lowered;
}

double SemanticSearch::distance(const QString &loweredQuery, const Entry &entry)
{
    Label &cached = label(entry);
    if (cached.vector.components.empty())
        cached.vector = m_embedding->vector(cached.lowered);
    const bool sameQuery = m_queryText.constData() == loweredQuery.constData()
        && m_queryText.size() == loweredQuery.size();
    if (m_queryVector.components.empty() || (!sameQuery && m_queryText != loweredQuery)) {
        m_queryText = loweredQuery;
        m_queryVector = m_embedding->vector(loweredQuery);
    }
    return m_embedding->distance(m_queryVector, cached.vector);
}
