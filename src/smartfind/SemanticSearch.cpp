// SPDX-License-Identifier: GPL-3.0-or-later
#include "smartfind/SemanticSearch.h"

#include "model/records/Entry.h"
#include "smartfind/Logging.h"
#include "smartfind/WordForms.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <bit>

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
    // An installed binary finds its own model first, wherever the prefix is (/usr, ~/.local).
    if (QCoreApplication::instance())
        candidates.append(QCoreApplication::applicationDirPath()
                          + QStringLiteral("/../share/binzo/smartfind.model"));
#ifdef BINZO_MODEL_BUILD_PATH
    candidates.append(QStringLiteral(BINZO_MODEL_BUILD_PATH));
#endif
    candidates.append(QStringLiteral(BINZO_MODEL_INSTALL_PATH));
    return candidates;
}

SemanticSearch::SemanticSearch()
{
    // One worker: the other core stays free for the interface.
    m_worker.setMaxThreadCount(1);
    m_worker.setThreadPriority(QThread::LowPriority);
    const QStringList candidates = modelCandidates();
    for (const QString &path : candidates) {
        if (!QFileInfo::exists(path))
            continue;
        QString error;
        m_embedding = EmbeddingModel::open(path, &error);
        m_modelPath = path;
        if (!m_embedding)
            qCWarning(lcSmartFind, "Smart find matches text only: %s", qPrintable(error));
        return;
    }
    qCWarning(lcSmartFind, "Smart find matches text only: no model at %s",
              qPrintable(candidates.join(", ")));
}

void SemanticSearch::setEmbedding(std::unique_ptr<EmbeddingModel> embedding)
{
    m_embedding = std::move(embedding);
    m_modelPath.clear();
    ++m_generation;
    for (auto &[entry, label] : m_labels) {
        label.slot = kNoSlot;
        label.queued = false;
        label.words.clear();
    }
    m_vectors.clear();
    m_freeSlots.clear();
    m_words.clear();
    m_wordIds.clear();
    m_queryText.clear();
    m_queryVector = {};
    m_queryDescribed = {};
    m_queryDescribedRows.clear();
    m_coverTerms.clear();
    m_coverTermIds.clear();
    m_coverWords.clear();
    m_coverWordIds.clear();
}

void SemanticSearch::embed(const EmbeddingModel &model, Embedded &label)
{
    EmbeddingModel::Meaning meaning = model.meaning(label.lowered);
    label.vector = std::move(meaning.vector);
    label.words = model.separateWords(label.lowered);
    label.described = std::move(meaning.described);
}

void SemanticSearch::store(Label &cached, Embedded &embedded,
                           QHash<QString, EmbeddingModel::Vector> *words)
{
    const EmbeddingModel::Vector &vector = embedded.vector;
    const size_t dims = vector.components.size();
    if (cached.slot == kNoSlot) {
        if (m_freeSlots.empty()) {
            cached.slot = uint32_t(m_vectors.size() / dims);
            m_vectors.resize(m_vectors.size() + dims);
        } else {
            cached.slot = m_freeSlots.back();
            m_freeSlots.pop_back();
        }
    }
    std::copy(vector.components.begin(), vector.components.end(),
              m_vectors.begin() + ptrdiff_t(cached.slot * dims));
    cached.norm = vector.norm;
    const EmbeddingModel::Described &described = embedded.described;
    cached.cover.clear();
    for (const uint32_t term : described.terms) {
        const auto [found, added] = m_coverTermIds.try_emplace(term, uint32_t(m_coverTerms.size()));
        if (added)
            m_coverTerms.push_back({term});
        cached.cover.push_back(found->second);
    }
    cached.coverTerms = uint32_t(cached.cover.size());
    for (const EmbeddingModel::Described::Word &word : described.words) {
        const uint64_t key = uint64_t(word.row) << 32 | std::bit_cast<uint32_t>(word.weight);
        const auto [found, added] = m_coverWordIds.try_emplace(key, uint32_t(m_coverWords.size()));
        if (added)
            m_coverWords.push_back({word});
        cached.cover.push_back(found->second);
    }
    cached.weight = described.weight;
    cached.words.clear();
    for (const QString &word : std::as_const(embedded.words)) {
        const auto found = m_wordIds.constFind(word);
        if (found != m_wordIds.constEnd()) {
            cached.words.push_back(*found);
            continue;
        }
        const auto id = uint32_t(m_words.size());
        m_wordIds.insert(word, id);
        m_words.push_back({words && words->contains(word) ? std::move((*words)[word])
                                                          : m_embedding->wordVector(word)});
        cached.words.push_back(id);
    }
}

void SemanticSearch::release(Label &cached)
{
    if (cached.slot != kNoSlot)
        m_freeSlots.push_back(cached.slot);
    cached.slot = kNoSlot;
    cached.queued = false;
    cached.words.clear();
    cached.cover.clear();
}

void SemanticSearch::refresh(Label &cached, const QString &text)
{
    if (cached.text == text)
        return;
    cached.text = text;
    cached.lowered = text.toLower();
    labelWordsChanged();
    release(cached);
}

void SemanticSearch::labelWordsChanged()
{
    m_labelWords.reset();
    m_queryVector = {}; // a query's respelling depends on which words labels hold
}

const QHash<QString, int> &SemanticSearch::labelWords()
{
    // Counted when a query first needs them, not as labels come: words counted among the labels
    // being cached scatter those labels in memory, and a pass over 100,000 of them slowed by
    // half.
    if (!m_labelWords) {
        m_labelWords.emplace();
        for (const auto &[entry, label] : m_labels) {
            for (const QString &word : WordForms::tokens(label.lowered))
                ++(*m_labelWords)[word];
        }
    }
    return *m_labelWords;
}

QString SemanticSearch::withLabelSpellings(const QString &loweredQuery)
{
    // Five letters at least, as the model's own spelling: shorter words are one edit from too
    // many others. At most as long as a word worth mistyping: the candidates of a word cost its
    // length squared, and a pasted page must not cost that on every keystroke.
    constexpr qsizetype kMinLength = 5;
    constexpr qsizetype kMaxLength = 32;
    // As the model reads it, so a respelled query keeps a "no." or "#" meaning number.
    QStringList words = WordForms::textTokens(loweredQuery.left(EmbeddingModel::kMaxTextLength));
    bool respelled = false;
    for (QString &word : words) {
        // Not a number (a card's last digits are no typo of another's), nor a word being typed
        // on its way to one the model knows ("barcl" for "barclays").
        if (word.size() < kMinLength || word.size() > kMaxLength
            || std::any_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); })
            || m_embedding->knowsOrBegins(word) || labelWords().contains(word))
            continue;
        // Of the likeliest kind of typo, the word most labels hold.
        const QByteArray labelWord
            = WordForms::likeliestRespelling(word.toUtf8(), [this](const QByteArray &candidate) {
                  return double(labelWords().value(QString::fromUtf8(candidate)));
              });
        if (!labelWord.isEmpty()) {
            word = QString::fromUtf8(labelWord);
            respelled = true;
        }
    }
    return respelled ? words.join(QLatin1Char(' ')) : loweredQuery;
}

SemanticSearch::Label &SemanticSearch::label(const Entry &entry)
{
    const QString &text = entry.fields().label; // no copy
    if (m_lastEntry == &entry) {
        refresh(*m_lastLabel, text);
        return *m_lastLabel;
    }
    auto found = m_labels.find(&entry);
    if (found == m_labels.end()) {
        QObject::connect(&entry, &QObject::destroyed, &m_guard, [this, key = &entry] {
            release(m_labels.at(key));
            m_labels.erase(key);
            labelWordsChanged();
            m_lastEntry = nullptr;
            m_passEntries.clear(); // a new entry may be born at the same address
            m_passLabels.clear();
        });
        QObject::connect(&entry, &Entry::labelChanged, &m_guard, [this] { m_passStale = true; });
        found = m_labels
                    .emplace(&entry, Label {text, text.toLower(), kNoSlot, 0, {}, {}, 0, 0, false})
                    .first;
        labelWordsChanged();
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

const int8_t *SemanticSearch::labelVector(Label &cached)
{
    if (cached.slot == kNoSlot) {
        Embedded embedded {nullptr, cached.lowered, {}, {}, {}};
        embed(*m_embedding, embedded);
        store(cached, embedded, nullptr);
    }
    return m_vectors.data() + size_t(cached.slot) * size_t(m_embedding->dimensions());
}

const EmbeddingModel::Vector &SemanticSearch::queryVector(const QString &loweredQuery)
{
    const bool sameQuery = m_queryText.constData() == loweredQuery.constData()
        && m_queryText.size() == loweredQuery.size();
    if (m_queryVector.components.empty() || (!sameQuery && m_queryText != loweredQuery)) {
        m_queryText = loweredQuery;
        EmbeddingModel::Meaning meaning = m_embedding->meaning(withLabelSpellings(loweredQuery));
        m_queryVector = std::move(meaning.vector);
        m_queryDescribed = std::move(meaning.described);
        m_queryDescribedRows.clear();
        for (const uint32_t term : m_queryDescribed.terms) {
            const std::span<const uint32_t> rows = m_embedding->describedRows(term);
            m_queryDescribedRows.insert(m_queryDescribedRows.end(), rows.begin(), rows.end());
        }
        std::sort(m_queryDescribedRows.begin(), m_queryDescribedRows.end());
        ++m_queryNumber;
    }
    return m_queryVector;
}

double SemanticSearch::labelDistance(const EmbeddingModel::Vector &query, Label &cached)
{
    const int8_t *vector = labelVector(cached); // sets cached.norm and cached.words
    const double whole = m_embedding->distance(query, vector, cached.norm);
    double closestWord = whole;
    for (const uint32_t id : cached.words) {
        Word &word = m_words[id];
        if (word.query != m_queryNumber) {
            word.query = m_queryNumber;
            word.distance = m_embedding->distance(query, word.vector);
        }
        closestWord = std::min(closestWord, word.distance);
    }
    return m_embedding->labelDistance(whole, closestWord, cover(cached));
}

EmbeddingModel::Cover SemanticSearch::cover(const Label &cached)
{
    const std::vector<EmbeddingModel::Described::Word> &queryWords = m_queryDescribed.words;
    uint64_t held = 0;
    for (uint32_t i = 0; i < cached.coverTerms; ++i) {
        CoverTerm &term = m_coverTerms[cached.cover[i]];
        if (term.query != m_queryNumber) {
            term.query = m_queryNumber;
            term.held = 0;
            const std::span<const uint32_t> rows = m_embedding->describedRows(term.term);
            for (size_t w = 0; w < queryWords.size(); ++w) {
                if (std::binary_search(rows.begin(), rows.end(), queryWords[w].row))
                    term.held |= uint64_t(1) << w;
            }
        }
        held |= term.held;
    }
    double queryHeld = 0;
    for (size_t w = 0; w < queryWords.size(); ++w) {
        if (held >> w & 1)
            queryHeld += queryWords[w].weight;
    }
    double labelHeld = 0;
    for (size_t i = cached.coverTerms; i < cached.cover.size(); ++i) {
        CoverWord &word = m_coverWords[cached.cover[i]];
        if (word.query != m_queryNumber) {
            word.query = m_queryNumber;
            word.held = std::binary_search(m_queryDescribedRows.begin(), m_queryDescribedRows.end(),
                                           word.word.row);
        }
        if (word.held)
            labelHeld += word.word.weight;
    }
    return {m_queryDescribed.weight > 0 ? queryHeld / m_queryDescribed.weight : 0.0,
            cached.weight > 0 ? labelHeld / cached.weight : 0.0};
}

double SemanticSearch::distance(const QString &loweredQuery, const Entry &entry)
{
    Label &cached = label(entry); // first: a new label's words may respell the query
    const EmbeddingModel::Vector &query = queryVector(loweredQuery);
    return labelDistance(query, cached);
}

void SemanticSearch::rememberPass(const QList<Entry *> &entries)
{
    if (m_passStale
        || !std::equal(m_passEntries.begin(), m_passEntries.end(), entries.begin(),
                       entries.end())) {
        m_passStale = false;
        m_passEntries.assign(entries.begin(), entries.end());
        m_passLabels.clear();
        for (const Entry *entry : entries)
            m_passLabels.push_back(&label(*entry));
    }
}

void SemanticSearch::prepare(const QList<Entry *> &entries)
{
    rememberPass(entries);
    if (!m_embedding)
        return;
    auto batch = std::make_shared<Batch>();
    for (size_t i = 0; i < m_passLabels.size(); ++i) {
        Label &cached = *m_passLabels[i];
        if (cached.slot == kNoSlot && !cached.queued) {
            cached.queued = true;
            batch->labels.push_back({m_passEntries[i], cached.lowered, {}, {}, {}});
        }
    }
    if (batch->labels.empty())
        return;
    m_worker.start([this, model = m_embedding, generation = m_generation, batch] {
        for (Embedded &label : batch->labels) {
            embed(*model, label);
            for (const QString &word : std::as_const(label.words)) {
                if (!batch->words.contains(word))
                    batch->words.insert(word, model->wordVector(word));
            }
        }
        QMetaObject::invokeMethod(
            &m_guard, [this, generation, batch] { receive(generation, *batch); },
            Qt::QueuedConnection);
    });
}

void SemanticSearch::receive(uint64_t generation, Batch &batch)
{
    if (generation != m_generation)
        return;
    for (Embedded &label : batch.labels) {
        const auto found = m_labels.find(label.entry);
        // The text decides: the label may have changed, or the entry gone and another taken its
        // address, while the worker ran.
        if (found == m_labels.end() || found->second.lowered != label.lowered)
            continue;
        found->second.queued = false;
        if (found->second.slot == kNoSlot)
            store(found->second, label, &batch.words);
    }
}

bool SemanticSearch::isEmbedded(const Entry &entry) const
{
    const auto found = m_labels.find(&entry);
    return found != m_labels.end() && found->second.text == entry.fields().label
        && found->second.slot != kNoSlot;
}

void SemanticSearch::prefetchLabels(size_t i, size_t count) const
{
    // Labels live apart on the heap: cold, each costs a few memory round trips. Fetching
    // them ahead lets those overlap. First the label itself, then, once it has arrived, what
    // it points to.
    constexpr size_t kLabelAhead = 16;
    constexpr size_t kPartsAhead = 8;
    if (i + kLabelAhead < count)
        __builtin_prefetch(m_passLabels[i + kLabelAhead]);
    if (i + kPartsAhead < count) {
        const Label &ahead = *m_passLabels[i + kPartsAhead];
        __builtin_prefetch(ahead.lowered.constData());
        __builtin_prefetch(ahead.words.data());
        __builtin_prefetch(ahead.cover.data());
        if (ahead.slot != kNoSlot && m_embedding)
            __builtin_prefetch(m_vectors.data()
                               + size_t(ahead.slot) * size_t(m_embedding->dimensions()));
    }
}

const std::vector<SemanticSearch::LabelMatch> &SemanticSearch::match(const QString &loweredQuery,
                                                                     const QList<Entry *> &entries)
{
    rememberPass(entries);
    const EmbeddingModel::Vector *query = m_embedding ? &queryVector(loweredQuery) : nullptr;
    m_matches.resize(m_passLabels.size());
    const size_t count = m_passLabels.size();
    for (size_t i = 0; i < count; ++i) {
        if (query)
            prefetchLabels(i, count);
        Label &cached = *m_passLabels[i];
        m_matches[i].lowered = &cached.lowered;
        m_matches[i].distance.reset();
        if (query)
            m_matches[i].distance = labelDistance(*query, cached);
    }
    return m_matches;
}
