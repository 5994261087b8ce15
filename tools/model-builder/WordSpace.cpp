// SPDX-License-Identifier: GPL-3.0-or-later
#include "WordSpace.h"

#include "smartfind/WordForms.h"

#include <algorithm>

namespace {

constexpr double kSifA = 1e-3;
constexpr int kPhraseWordLimit = 6;

int wordCount(const std::string &text)
{
    return 1 + int(std::count(text.begin(), text.end(), ' '));
}

} // namespace

WordSpace::WordSpace(std::vector<std::string> texts, Eigen::MatrixXf vectors,
                     std::unordered_map<std::string, uint64_t> counts)
    : m_texts(std::move(texts))
    , m_vectors(std::move(vectors))
    , m_counts(std::move(counts))
{
    for (uint32_t row = 0; row < m_texts.size(); ++row) {
        m_rows.emplace(m_texts[row], row);
        m_maxPhraseWords
            = std::min(kPhraseWordLimit, std::max(m_maxPhraseWords, wordCount(m_texts[row])));
    }
    for (const auto &[text, count] : m_counts)
        m_total += count;
}

Eigen::VectorXf WordSpace::vector(uint32_t row) const
{
    if (row < m_vectors.rows())
        return m_vectors.row(row);
    return m_added[row - m_vectors.rows()];
}

std::optional<uint32_t> WordSpace::find(const std::string &text) const
{
    const auto it = m_rows.find(text);
    if (it == m_rows.end())
        return std::nullopt;
    return it->second;
}

float WordSpace::weight(const std::string &text) const
{
    const auto it = m_counts.find(text);
    const double p = it == m_counts.end() ? 0.0 : double(it->second) / double(m_total);
    return float(kSifA / (kSifA + p));
}

std::optional<uint32_t> WordSpace::resolve(const QString &token) const
{
    for (const QByteArray &form : WordForms::baseForms(token.toUtf8())) {
        if (const auto row = find(form.toStdString()))
            return row;
    }
    return std::nullopt;
}

Eigen::VectorXf WordSpace::sentence(const QString &text) const
{
    Eigen::VectorXf sum = Eigen::VectorXf::Zero(dims());
    const QStringList tokens = WordForms::tokens(text.toLower());
    const qsizetype n = tokens.size();
    for (qsizetype i = 0; i < n;) {
        qsizetype taken = 1;
        for (qsizetype length = std::min<qsizetype>(m_maxPhraseWords, n - i); length > 1;
             --length) {
            const std::string phrase = tokens.mid(i, length).join(QLatin1Char(' ')).toStdString();
            if (const auto row = find(phrase)) {
                sum += weight(phrase) * vector(*row);
                taken = length;
                break;
            }
        }
        if (taken == 1) {
            if (const auto row = resolve(tokens.at(i)))
                sum += weight(m_texts[*row]) * vector(*row);
        }
        i += taken;
    }
    return sum;
}

void WordSpace::place(const std::string &text, const Eigen::VectorXf &unitVector)
{
    if (const auto row = find(text)) {
        if (*row < m_vectors.rows())
            m_vectors.row(*row) = unitVector.transpose();
        else
            m_added[*row - m_vectors.rows()] = unitVector;
        return;
    }
    m_rows.emplace(text, uint32_t(m_texts.size()));
    m_texts.push_back(text);
    m_added.push_back(unitVector);
    m_maxPhraseWords = std::min(kPhraseWordLimit, std::max(m_maxPhraseWords, wordCount(text)));
}
