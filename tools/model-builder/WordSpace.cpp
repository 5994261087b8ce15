// SPDX-License-Identifier: GPL-3.0-or-later
#include "WordSpace.h"

#include "quick/WordForms.h"

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
                sum += weight(phrase) * m_vectors.row(*row).transpose();
                taken = length;
                break;
            }
        }
        if (taken == 1) {
            if (const auto row = resolve(tokens.at(i)))
                sum += weight(m_texts[*row]) * m_vectors.row(*row).transpose();
        }
        i += taken;
    }
    return sum;
}

void WordSpace::place(const std::string &text, const Eigen::VectorXf &unitVector)
{
    if (const auto row = find(text)) {
        m_vectors.row(*row) = unitVector.transpose();
        return;
    }
    const auto row = uint32_t(m_texts.size());
    m_texts.push_back(text);
    m_rows.emplace(text, row);
    m_vectors.conservativeResize(m_vectors.rows() + 1, Eigen::NoChange);
    m_vectors.row(row) = unitVector.transpose();
    m_maxPhraseWords = std::min(kPhraseWordLimit, std::max(m_maxPhraseWords, wordCount(text)));
}
