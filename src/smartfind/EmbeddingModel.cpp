// SPDX-License-Identifier: GPL-3.0-or-later
#include "smartfind/EmbeddingModel.h"

#include "smartfind/WordForms.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

using ModelFormat::WordRecord;

namespace {

constexpr qsizetype kMinCorrectableLength = 5;

uint32_t fnv1a(const QByteArray &bytes)
{
    uint32_t hash = 2166136261u;
    for (const char c : bytes) {
        hash ^= uint8_t(c);
        hash *= 16777619u;
    }
    return hash;
}

float dot(const float *a, const float *b, size_t n)
{
    float sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += a[i] * b[i];
    return sum;
}

int32_t dotTail(const int8_t *a, const int8_t *b, size_t from, size_t n)
{
    int32_t sum = 0;
    for (size_t i = from; i < n; ++i)
        sum += int32_t(a[i]) * int32_t(b[i]);
    return sum;
}

// Runs once per entry on every keystroke. GCC leaves the 8-bit reduction scalar at -O2, so on
// x86 it is spelled out: sign-extend to 16 bits, multiply-add pairs into 32-bit lanes.
int32_t dotPortable(const int8_t *a, const int8_t *b, size_t n)
{
    size_t i = 0;
    int32_t sum = 0;
#if defined(__SSE2__)
    __m128i lanes = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(a + i));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b + i));
        const __m128i xLow = _mm_srai_epi16(_mm_unpacklo_epi8(x, x), 8);
        const __m128i xHigh = _mm_srai_epi16(_mm_unpackhi_epi8(x, x), 8);
        const __m128i yLow = _mm_srai_epi16(_mm_unpacklo_epi8(y, y), 8);
        const __m128i yHigh = _mm_srai_epi16(_mm_unpackhi_epi8(y, y), 8);
        lanes = _mm_add_epi32(lanes, _mm_madd_epi16(xLow, yLow));
        lanes = _mm_add_epi32(lanes, _mm_madd_epi16(xHigh, yHigh));
    }
    alignas(16) int32_t parts[4];
    _mm_store_si128(reinterpret_cast<__m128i *>(parts), lanes);
    sum = (parts[0] + parts[1]) + (parts[2] + parts[3]);
#endif
    return sum + dotTail(a, b, i, n);
}

#if defined(__x86_64__) && defined(__GNUC__)
// Twice the lanes where the processor has them; components never reach -128, so |x| fits the
// unsigned operand of maddubs and the sign moves to y.
__attribute__((target("avx2"))) int32_t dotAvx2(const int8_t *a, const int8_t *b, size_t n)
{
    size_t i = 0;
    __m256i lanes = _mm256_setzero_si256();
    const __m256i ones = _mm256_set1_epi16(1);
    for (; i + 32 <= n; i += 32) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(a + i));
        const __m256i y = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(b + i));
        const __m256i pairs = _mm256_maddubs_epi16(_mm256_abs_epi8(x), _mm256_sign_epi8(y, x));
        lanes = _mm256_add_epi32(lanes, _mm256_madd_epi16(pairs, ones));
    }
    alignas(32) int32_t parts[8];
    _mm256_store_si256(reinterpret_cast<__m256i *>(parts), lanes);
    int32_t sum = 0;
    for (const int32_t part : parts)
        sum += part;
    return sum + dotTail(a, b, i, n);
}
#endif

using DotFunction = int32_t (*)(const int8_t *, const int8_t *, size_t);

DotFunction bestDot()
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2"))
        return dotAvx2;
#endif
    return dotPortable;
}

int32_t dot(const int8_t *a, const int8_t *b, size_t n)
{
    static const DotFunction implementation = bestDot();
    return implementation(a, b, n);
}

int32_t dot(const std::vector<int8_t> &a, const std::vector<int8_t> &b)
{
    return dot(a.data(), b.data(), std::min(a.size(), b.size()));
}

void normalize(float *v, size_t n)
{
    const float norm = std::sqrt(dot(v, v, n));
    if (norm > 0) {
        for (size_t i = 0; i < n; ++i)
            v[i] /= norm;
    }
}

} // namespace

EmbeddingModel::~EmbeddingModel() = default;

std::unique_ptr<EmbeddingModel> EmbeddingModel::open(const QString &path, QString *error)
{
    std::unique_ptr<EmbeddingModel> model(new EmbeddingModel);
    QString reason;
    if (!model->map(path, &reason)) {
        if (error)
            *error = path + QStringLiteral(": ") + reason;
        return nullptr;
    }
    return model;
}

std::unique_ptr<EmbeddingModel> EmbeddingModel::fromBytes(const QByteArray &bytes, QString *error)
{
    std::unique_ptr<EmbeddingModel> model(new EmbeddingModel);
    model->m_copy.resize((size_t(bytes.size()) + 7) / 8);
    if (!bytes.isEmpty())
        std::memcpy(model->m_copy.data(), bytes.constData(), size_t(bytes.size()));
    QString reason;
    if (!model->attach(reinterpret_cast<const uint8_t *>(model->m_copy.data()),
                       uint64_t(bytes.size()), &reason)) {
        if (error)
            *error = reason;
        return nullptr;
    }
    return model;
}

bool EmbeddingModel::map(const QString &path, QString *error)
{
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        *error = m_file.errorString();
        return false;
    }
    const qint64 size = m_file.size();
    // An empty file cannot be mapped; the layout check says what is wrong with it.
    const uchar *data = size > 0 ? m_file.map(0, size) : nullptr;
    if (size > 0 && !data) {
        *error = m_file.errorString();
        return false;
    }
    return attach(data, uint64_t(size), error);
}

bool EmbeddingModel::attach(const uint8_t *data, uint64_t size, QString *error)
{
    const std::optional<ModelFormat::Layout> layout = ModelFormat::locate(data, size, error);
    if (!layout)
        return false;
    m_header = layout->header;
    m_common = layout->common;
    m_words = layout->words;
    m_scales = layout->scales;
    m_rows = layout->rows;
    m_describedFrom = layout->describedFrom;
    m_describedRows = layout->describedRows;
    m_strings = layout->strings;
    m_longestWord = layout->longestWord;
    return true;
}

int EmbeddingModel::dimensions() const
{
    return int(m_header->semanticDims + m_header->trigramDims);
}

QByteArrayView EmbeddingModel::textOf(const WordRecord &record) const
{
    return {m_strings + record.stringOffset, qsizetype(record.length)};
}

const WordRecord *EmbeddingModel::firstNotBefore(const QByteArray &key) const
{
    return std::lower_bound(
        m_words, m_words + m_header->wordCount, key,
        [this](const WordRecord &record, const QByteArray &k) { return textOf(record) < k; });
}

const WordRecord *EmbeddingModel::find(const QByteArray &word) const
{
    const WordRecord *found = firstNotBefore(word);
    if (found == m_words + m_header->wordCount || textOf(*found) != word)
        return nullptr;
    return found;
}

bool EmbeddingModel::isDescribed(uint32_t index) const
{
    return m_describedFrom[index] != m_describedFrom[index + 1];
}

std::vector<uint32_t> EmbeddingModel::qualifiedForms(const QByteArray &word) const
{
    const QByteArray prefix = word + ' ';
    // Looked up only for a word that begins some term: a query's word being typed mostly does not.
    std::optional<size_t> maxEntries;
    // The forms of one entry share their rows, those of different brands do not; one form per
    // entry holds what all of them do, and every label scoring a keystroke reads each.
    std::vector<uint32_t> terms;
    const WordRecord *end = m_words + m_header->wordCount;
    for (const WordRecord *record = firstNotBefore(prefix);
         record != end && textOf(*record).startsWith(prefix); ++record) {
        const auto index = uint32_t(record - m_words);
        if (!isDescribed(index))
            continue;
        const std::span<const uint32_t> rows = describedRows(index);
        if (std::any_of(terms.begin(), terms.end(), [&](uint32_t term) {
                const std::span<const uint32_t> entry = describedRows(term);
                return std::equal(rows.begin(), rows.end(), entry.begin(), entry.end());
            }))
            continue;
        if (!maxEntries) {
            const WordRecord *self = lookUpForms(word);
            const QString text = QString::fromUtf8(word);
            const bool hasLetter
                = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
            maxEntries
                = hasLetter && !(self && self->weight < kRareWordWeight) ? kMaxQualifiedEntries : 1;
        }
        if (terms.size() == *maxEntries)
            return {};
        terms.push_back(index);
    }
    return terms;
}

const WordRecord *EmbeddingModel::lookUpForms(const QByteArray &token) const
{
    const WordRecord *weightOnly = nullptr;
    for (const QByteArray &form : WordForms::baseForms(token)) {
        const WordRecord *record = find(form);
        if (record && record->row != ModelFormat::kNoRow)
            return record;
        if (record && !weightOnly)
            weightOnly = record;
    }
    return weightOnly;
}

bool EmbeddingModel::knowsOrBegins(const QString &word) const
{
    const QByteArray utf8 = word.toUtf8();
    const WordRecord *next = firstNotBefore(utf8);
    return (next != m_words + m_header->wordCount && textOf(*next).startsWith(utf8))
        || lookUpForms(utf8) != nullptr;
}

const WordRecord *EmbeddingModel::lookUpToken(const QByteArray &token) const
{
    const WordRecord *weightOnly = lookUpForms(token);
    if (weightOnly && weightOnly->row != ModelFormat::kNoRow)
        return weightOnly;
    // One edit away from a text longer than any word, nothing is a word; the candidates of a
    // long token would cost its length squared.
    if (weightOnly || token.size() < kMinCorrectableLength
        || token.size() > qsizetype(m_longestWord) + 1)
        return weightOnly;
    // A misspelling: the most frequent known word (the least SIF weight) among the likeliest
    // kind of typo.
    const QByteArray respelled
        = WordForms::likeliestRespelling(token, [this](const QByteArray &candidate) {
              const WordRecord *record = find(candidate);
              return record && record->row != ModelFormat::kNoRow ? 1.0 / record->weight : 0.0;
          });
    return respelled.isEmpty() ? nullptr : find(respelled);
}

void EmbeddingModel::addRow(const WordRecord &record, float weight, std::vector<float> &sum) const
{
    const uint32_t dims = m_header->semanticDims;
    const uint8_t *row = m_rows + record.row * ModelFormat::rowBytes(dims);
    const float scale = m_scales[record.row] * weight;
    for (uint32_t i = 0; i < dims; ++i)
        sum[i] += float(ModelFormat::nibble(row, i)) * scale;
}

void EmbeddingModel::addTrigrams(const QString &token, float weight, std::vector<float> &sum) const
{
    const QString marked = QLatin1Char('<') + token + QLatin1Char('>');
    std::vector<float> own(m_header->trigramDims, 0.0f);
    for (qsizetype i = 0; i + 3 <= marked.size(); ++i) {
        const uint32_t hash = fnv1a(marked.mid(i, 3).toUtf8());
        own[hash % m_header->trigramDims] += (hash & 0x80000000u) ? -1.0f : 1.0f;
    }
    normalize(own.data(), own.size());
    for (size_t i = 0; i < own.size(); ++i)
        sum[i] += own[i] * weight;
}

QStringList EmbeddingModel::compoundParts(const QString &token) const
{
    constexpr qsizetype kMinPart = 3;
    const qsizetype n = token.size();
    const auto longest = qsizetype(m_longestWord);
    if (n > 2 * longest)
        return {};
    // Even splits first: two short words joined are likelier than a long word and a stray
    // syllable ("dogsitter" is "dog sitter" though "dogs" is a word too; "itter" is none).
    const auto splitsAt = [&](qsizetype at) {
        if (at > longest || n - at > longest)
            return false;
        const WordRecord *left = lookUpForms(token.left(at).toUtf8());
        const WordRecord *right = left && left->row != ModelFormat::kNoRow
            ? lookUpForms(token.mid(at).toUtf8())
            : nullptr;
        return right && right->row != ModelFormat::kNoRow;
    };
    for (qsizetype offset = 0; offset <= n / 2 - kMinPart; ++offset) {
        const qsizetype before = n / 2 - offset;
        const qsizetype after = n - n / 2 + offset;
        for (const qsizetype at : {before, after}) {
            if (splitsAt(at))
                return {token.left(at), token.mid(at)};
            if (before == after)
                break;
        }
    }
    return {};
}

std::vector<EmbeddingModel::Reading> EmbeddingModel::read(const QString &token) const
{
    const QByteArray bytes = token.toUtf8();
    const WordRecord *record = lookUpToken(bytes);
    if (!record && token.contains(QLatin1Char('-'))) {
        // "wi-fi" may be known as "wifi", "two-factor" as "two factor"; else each part counts.
        record = lookUpToken(QByteArray(bytes).replace('-', ""));
        if (!record)
            record = find(QByteArray(bytes).replace('-', ' '));
        if (!record) {
            std::vector<Reading> readings;
            for (const QString &part : token.split(QLatin1Char('-'), Qt::SkipEmptyParts)) {
                const std::vector<Reading> partReadings = read(part);
                readings.insert(readings.end(), partReadings.begin(), partReadings.end());
            }
            return readings;
        }
    }
    if (!record) {
        // Two words written as one ("dogwalker") mean what both do.
        const QStringList parts = compoundParts(token);
        if (!parts.isEmpty())
            return {{parts.at(0), lookUpForms(parts.at(0).toUtf8())},
                    {parts.at(1), lookUpForms(parts.at(1).toUtf8())}};
    }
    return {{token, record}};
}

EmbeddingModel::Text EmbeddingModel::readText(const QString &text) const
{
    Text read;
    read.tokens = WordForms::textTokens(text.left(kMaxTextLength).toLower());
    read.readings.reserve(size_t(read.tokens.size()));
    for (const QString &token : std::as_const(read.tokens))
        read.readings.push_back(this->read(token));
    return read;
}

void EmbeddingModel::addReadings(const std::vector<Reading> &readings, std::vector<float> &semantic,
                                 std::vector<float> &trigrams) const
{
    for (const Reading &reading : readings) {
        const float weight = reading.record ? reading.record->weight : m_header->unknownWeight;
        if (reading.record && reading.record->row != ModelFormat::kNoRow)
            addRow(*reading.record, weight, semantic);
        addTrigrams(reading.text, weight, trigrams);
    }
}

EmbeddingModel::Vector EmbeddingModel::vector(const QString &text) const
{
    return vectorOf(readText(text));
}

EmbeddingModel::Meaning EmbeddingModel::meaning(const QString &text) const
{
    const Text read = readText(text);
    return {vectorOf(read), describedOf(read)};
}

EmbeddingModel::Vector EmbeddingModel::vectorOf(const Text &text) const
{
    const uint32_t dims = m_header->semanticDims;
    std::vector<float> semantic(dims, 0.0f);
    std::vector<float> trigrams(m_header->trigramDims, 0.0f);
    const QStringList &tokens = text.tokens;
    const qsizetype n = tokens.size();
    for (qsizetype i = 0; i < n;) {
        qsizetype taken = 1;
        // Longest known phrase first: "social security number" beats its three words.
        for (qsizetype length = std::min<qsizetype>(m_header->maxPhraseWords, n - i); length > 1;
             --length) {
            const WordRecord *phrase = find(tokens.mid(i, length).join(QLatin1Char(' ')).toUtf8());
            if (phrase && phrase->row != ModelFormat::kNoRow) {
                addRow(*phrase, phrase->weight, semantic);
                for (qsizetype k = i; k < i + length; ++k)
                    addTrigrams(tokens.at(k), phrase->weight, trigrams);
                taken = length;
                break;
            }
        }
        if (taken == 1)
            addReadings(text.readings[size_t(i)], semantic, trigrams);
        i += taken;
    }
    return finish(semantic, trigrams);
}

EmbeddingModel::Vector EmbeddingModel::finish(std::vector<float> &semantic,
                                              std::vector<float> &trigrams) const
{
    const uint32_t dims = m_header->semanticDims;
    for (uint32_t c = 0; c < m_header->commonCount; ++c) {
        const float *direction = m_common + size_t(c) * dims;
        const float projection = dot(direction, semantic.data(), dims);
        for (uint32_t i = 0; i < dims; ++i)
            semantic[i] -= projection * direction[i];
    }
    normalize(semantic.data(), dims);
    normalize(trigrams.data(), trigrams.size());

    const float share = m_header->trigramShare;
    std::vector<float> joined(dims + trigrams.size());
    for (uint32_t i = 0; i < dims; ++i)
        joined[i] = semantic[i] * (1.0f - share);
    for (size_t i = 0; i < trigrams.size(); ++i)
        joined[dims + i] = trigrams[i] * share;

    float largest = 0;
    for (const float x : joined)
        largest = std::max(largest, std::abs(x));
    Vector result;
    result.components.resize(joined.size());
    if (largest == 0)
        return result;
    for (size_t i = 0; i < joined.size(); ++i)
        result.components[i] = int8_t(std::lround(joined[i] * 127.0f / largest));
    result.norm = std::sqrt(float(dot(result.components, result.components)));
    return result;
}

double EmbeddingModel::distance(const Vector &a, const Vector &b) const
{
    if (a.components.size() != b.components.size())
        return 1.0;
    return distance(a, b.components.data(), b.norm);
}

double EmbeddingModel::distance(const Vector &a, const int8_t *b, float bNorm) const
{
    const auto n = size_t(dimensions());
    if (a.components.size() != n || a.norm == 0 || bNorm == 0)
        return 1.0;
    const double floor = m_header->cosineFloor;
    const double raw = double(dot(a.components.data(), b, n)) / (double(a.norm) * bNorm);
    return std::clamp(1.0 - (raw - floor) / (1.0 - floor), 0.0, 2.0);
}

double EmbeddingModel::distance(const QString &a, const QString &b) const
{
    return distance(vector(a), vector(b));
}

QStringList EmbeddingModel::separateWords(const QString &text) const
{
    const QStringList tokens = WordForms::textTokens(text.left(kMaxTextLength).toLower());
    QStringList result;
    for (const QString &token : tokens) {
        if (std::none_of(token.begin(), token.end(), [](QChar c) { return c.isLetter(); }))
            continue;
        const WordRecord *record = lookUpToken(token.toUtf8());
        if ((!record || record->row != ModelFormat::kNoRow) && !result.contains(token))
            result.append(token);
    }
    if (result.size() < 2)
        result.clear();
    for (const QString &token : tokens) {
        for (const QByteArray &form : WordForms::baseForms(token.toUtf8())) {
            const QByteArray sense = form + ModelFormat::kSenseMark;
            const WordRecord *record = find(sense);
            if (record && record->row != ModelFormat::kNoRow) {
                if (!result.contains(QString::fromUtf8(sense)))
                    result.append(QString::fromUtf8(sense));
                break;
            }
        }
    }
    return result;
}

EmbeddingModel::Vector EmbeddingModel::wordVector(const QString &word) const
{
    const WordRecord *sense
        = word.endsWith(QLatin1Char(ModelFormat::kSenseMark)) ? find(word.toUtf8()) : nullptr;
    if (!sense || sense->row == ModelFormat::kNoRow)
        return vector(word);
    std::vector<float> semantic(m_header->semanticDims, 0.0f);
    std::vector<float> trigrams(m_header->trigramDims, 0.0f);
    addRow(*sense, sense->weight, semantic);
    addTrigrams(word.chopped(1), sense->weight, trigrams);
    return finish(semantic, trigrams);
}

EmbeddingModel::Described EmbeddingModel::described(const QString &text) const
{
    return describedOf(readText(text));
}

EmbeddingModel::Described EmbeddingModel::describedOf(const Text &text) const
{
    const QStringList &tokens = text.tokens;
    Described result;
    for (const std::vector<Reading> &readings : text.readings) {
        for (const Reading &reading : readings) {
            if (reading.record && reading.record->row == ModelFormat::kNoRow)
                continue;
            const float weight = reading.record ? reading.record->weight : m_header->unknownWeight;
            result.weight += weight;
            if (reading.record && result.words.size() < kMaxDescribedWords)
                result.words.push_back({reading.record->row, weight});
        }
    }
    // Words inside a known phrase, or described themselves.
    std::vector<bool> named(size_t(tokens.size()), false);
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const qsizetype longest = std::min<qsizetype>(m_header->maxPhraseWords, tokens.size() - i);
        for (qsizetype length = 1; length <= longest; ++length) {
            const WordRecord *term = find(tokens.mid(i, length).join(QLatin1Char(' ')).toUtf8());
            const bool described = term && isDescribed(uint32_t(term - m_words));
            if (described)
                result.terms.push_back(uint32_t(term - m_words));
            if (term && (length > 1 || described))
                std::fill_n(named.begin() + i, length, true);
        }
    }
    // A word known only in qualified forms names them: a label says "Lime account" where the
    // vocabulary, wary of the fruit, says "lime scooter" and "lime app", and "Octopus acc no."
    // where it names an energy supplier in six countries and a fare card. Not inside a
    // phrase: "key lime pie" is no scooter.
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (named[size_t(i)])
            continue;
        const std::vector<uint32_t> forms = qualifiedForms(tokens.at(i).toUtf8());
        result.terms.insert(result.terms.end(), forms.begin(), forms.end());
    }
    std::sort(result.terms.begin(), result.terms.end());
    result.terms.erase(std::unique(result.terms.begin(), result.terms.end()), result.terms.end());
    return result;
}

EmbeddingModel::Cover EmbeddingModel::cover(const Described &query, const Described &label) const
{
    // The share of `text`'s weight held by the descriptions of `terms`.
    const auto held = [this](const Described &text, const std::vector<uint32_t> &terms) {
        double weight = 0;
        for (const Described::Word &word : text.words) {
            if (std::any_of(terms.begin(), terms.end(), [&](uint32_t term) {
                    const std::span<const uint32_t> rows = describedRows(term);
                    return std::binary_search(rows.begin(), rows.end(), word.row);
                }))
                weight += word.weight;
        }
        return text.weight > 0 ? weight / text.weight : 0.0;
    };
    return {held(query, label.terms), held(label, query.terms)};
}

double EmbeddingModel::labelDistance(const QString &query, const QString &label) const
{
    const Vector q = vector(query);
    const double whole = distance(q, vector(label));
    double closestWord = whole;
    for (const QString &word : separateWords(label))
        closestWord = std::min(closestWord, distance(q, wordVector(word)));
    return labelDistance(whole, closestWord, cover(described(query), described(label)));
}
