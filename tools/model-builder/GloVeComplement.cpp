// SPDX-License-Identifier: GPL-3.0-or-later
#include "GloVeComplement.h"

#include "smartfind/WordForms.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace {

// Frequent GloVe words the space knows are the landmarks; rarer ones are often other senses
// (surnames, places) that WordNet has and GloVe's text rarely means.
constexpr size_t kLandmarkRanks = 20000;
constexpr int kNeighbours = 20;
// Neighbour weight cos^8: the closest few decide, the rest only break ties.
constexpr int kNeighbourPower = 8;
// A word whose closest landmark is further than this is not placed at all. Described words
// placed from GloVe without their description kept a cosine of 0.58 to it on average above
// 0.55, 0.39 below; from 0.55 up to here the words placed (16,000, 3.9 MB of model) found
// nothing more in the measuring sets.
constexpr float kMinNeighbourCosine = 0.6f;
// Cosine above which a GloVe word and a form of it the space knows are the same word
// ("banks" and "bank"), so the app's own form-finding already reaches it.
constexpr float kSameWordCosine = 0.5f;
constexpr Eigen::Index kBlock = 256;
// The share of a word's WordNet meaning in its joint vector, GloVe's taking the rest.
constexpr float kWordNetShare = 0.6f;
// Regularises the map from WordNet's space into GloVe's, fitted on some 50,000 words.
constexpr float kMapRidge = 1.0f;

// A word the app's tokenizer keeps whole, with a letter in it.
bool isPlainWord(const std::string &word)
{
    const QString text = QString::fromStdString(word);
    const QStringList tokens = WordForms::tokens(text);
    return tokens.size() == 1 && tokens[0] == text
        && std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// The app reads "two-factor" as "twofactor" or "two factor" when it knows either.
bool knownHyphenated(const std::string &word, const WordSpace &space)
{
    if (word.find('-') == std::string::npos)
        return false;
    std::string joined, spaced = word;
    std::remove_copy(word.begin(), word.end(), std::back_inserter(joined), '-');
    std::replace(spaced.begin(), spaced.end(), '-', ' ');
    return space.find(joined) || space.find(spaced);
}

struct Landmarks
{
    Eigen::MatrixXf glove; // one unit GloVe row per landmark
    std::vector<uint32_t> rows; // its row in the space
};

Landmarks landmarks(const GloVe &glove, const WordSpace &space,
                    const std::unordered_set<std::string> &described)
{
    std::vector<uint32_t> ranks;
    Landmarks result;
    for (size_t rank = 0; rank < glove.words.size(); ++rank) {
        const std::string &word = glove.words[rank];
        if (rank >= kLandmarkRanks && !described.count(word))
            continue;
        if (const auto row = space.find(word); row && isPlainWord(word)) {
            ranks.push_back(uint32_t(rank));
            result.rows.push_back(*row);
        }
    }
    result.glove.resize(Eigen::Index(ranks.size()), glove.vectors.cols());
    for (size_t i = 0; i < ranks.size(); ++i)
        result.glove.row(Eigen::Index(i)) = glove.vectors.row(ranks[i]);
    return result;
}

std::unordered_map<std::string, uint32_t> ranksOf(const GloVe &glove)
{
    std::unordered_map<std::string, uint32_t> ranks;
    for (size_t rank = 0; rank < glove.words.size(); ++rank)
        ranks.emplace(glove.words[rank], uint32_t(rank));
    return ranks;
}

// GloVe ranks of the words to add: unknown to the space in every form the app would look
// them up in, unless the known form means something else ("lloyds" beside the name "lloyd").
std::vector<uint32_t> newWords(const GloVe &glove, const WordSpace &space)
{
    const std::unordered_map<std::string, uint32_t> rankOf = ranksOf(glove);
    std::vector<uint32_t> result;
    for (size_t rank = 0; rank < glove.words.size(); ++rank) {
        const std::string &word = glove.words[rank];
        if (space.find(word) || !isPlainWord(word) || knownHyphenated(word, space))
            continue;
        const auto sameWord = [&](const QByteArray &form) {
            const std::string text = form.toStdString();
            if (!space.find(text))
                return false;
            const auto known = rankOf.find(text);
            return known == rankOf.end()
                || glove.vectors.row(known->second).dot(glove.vectors.row(Eigen::Index(rank)))
                > kSameWordCosine;
        };
        const QList<QByteArray> forms = WordForms::baseForms(QByteArray::fromStdString(word));
        if (std::none_of(forms.begin(), forms.end(), sameWord))
            result.push_back(uint32_t(rank));
    }
    return result;
}

// The best kNeighbours of a row of cosines, highest first; ties keep the more frequent word.
std::vector<std::pair<float, uint32_t>> nearest(const Eigen::Ref<const Eigen::RowVectorXf> &cosines)
{
    std::vector<std::pair<float, uint32_t>> best;
    best.reserve(kNeighbours + 1);
    for (uint32_t i = 0; i < uint32_t(cosines.size()); ++i) {
        const float c = cosines(i);
        if (best.size() == size_t(kNeighbours) && c <= best.back().first)
            continue;
        best.insert(
            std::find_if(best.begin(), best.end(), [c](const auto &b) { return c > b.first; }),
            {c, i});
        if (best.size() > size_t(kNeighbours))
            best.pop_back();
    }
    return best;
}

// A joint row: the word's WordNet meaning beside its GloVe one, each a unit vector weighted so
// that the row is one too. WordNet's share leads: alone, GloVe puts frequent words near
// everything.
Eigen::VectorXf joined(const Eigen::VectorXf &wordNet, const Eigen::VectorXf &glove)
{
    Eigen::VectorXf result = Eigen::VectorXf::Zero(wordNet.size() + glove.size());
    if (wordNet.norm() > 0)
        result.head(wordNet.size()) = wordNet.normalized() * std::sqrt(kWordNetShare);
    result.tail(glove.size()) = glove.normalized() * std::sqrt(1.0f - kWordNetShare);
    return result.normalized();
}

} // namespace

Eigen::MatrixXf joinWithGloVe(const std::vector<std::string> &words, const Eigen::MatrixXf &vectors,
                              const GloVe &glove)
{
    const std::unordered_map<std::string, uint32_t> rankOf = ranksOf(glove);
    const auto gloveOf = [&](const std::string &word) -> std::optional<Eigen::VectorXf> {
        Eigen::VectorXf sum = Eigen::VectorXf::Zero(glove.vectors.cols());
        // A phrase: its words together, when GloVe knows them all.
        for (const QString &part : QString::fromStdString(word).split(QLatin1Char(' '))) {
            const auto found = rankOf.find(part.toStdString());
            if (found == rankOf.end())
                return std::nullopt;
            sum += glove.vectors.row(found->second).transpose();
        }
        if (sum.norm() == 0)
            return std::nullopt;
        return sum.normalized();
    };

    // The words GloVe lacks get theirs through a linear map fitted on the words both know.
    std::vector<Eigen::Index> shared;
    for (Eigen::Index i = 0; i < vectors.rows(); ++i) {
        if (rankOf.count(words[size_t(i)]))
            shared.push_back(i);
    }
    Eigen::MatrixXf x(Eigen::Index(shared.size()), vectors.cols());
    Eigen::MatrixXf y(Eigen::Index(shared.size()), glove.vectors.cols());
    for (size_t k = 0; k < shared.size(); ++k) {
        x.row(Eigen::Index(k)) = vectors.row(shared[k]);
        y.row(Eigen::Index(k)) = glove.vectors.row(rankOf.at(words[size_t(shared[k])]));
    }
    Eigen::MatrixXf gram = x.transpose() * x;
    gram.diagonal().array() += kMapRidge;
    const Eigen::MatrixXf map = gram.ldlt().solve(x.transpose() * y);

    Eigen::MatrixXf result(vectors.rows(), vectors.cols() + glove.vectors.cols());
    size_t mapped = 0;
    for (Eigen::Index i = 0; i < vectors.rows(); ++i) {
        std::optional<Eigen::VectorXf> own = gloveOf(words[size_t(i)]);
        if (!own) {
            own = (vectors.row(i) * map).transpose();
            ++mapped;
        }
        result.row(i) = joined(vectors.row(i).transpose(), *own).transpose();
    }
    std::fprintf(stderr, "         %zu words share GloVe vectors, %zu mapped\n", shared.size(),
                 mapped);
    return result;
}

void complementWithGloVe(const GloVe &glove, WordSpace &space,
                         const std::unordered_set<std::string> &described)
{
    const Landmarks known = landmarks(glove, space, described);
    const std::vector<uint32_t> added = newWords(glove, space);

    // Computed in full before placing, so no placed word guides another.
    std::vector<Eigen::VectorXf> placed(added.size());
    for (Eigen::Index begin = 0; begin < Eigen::Index(added.size()); begin += kBlock) {
        const Eigen::Index count = std::min(kBlock, Eigen::Index(added.size()) - begin);
        Eigen::MatrixXf block(count, glove.vectors.cols());
        for (Eigen::Index k = 0; k < count; ++k)
            block.row(k) = glove.vectors.row(added[size_t(begin + k)]);
        const Eigen::MatrixXf cosines = block * known.glove.transpose();
        for (Eigen::Index k = 0; k < count; ++k) {
            const auto best = nearest(cosines.row(k));
            if (best.empty() || best.front().first < kMinNeighbourCosine)
                continue;
            Eigen::VectorXf sum = Eigen::VectorXf::Zero(space.dims());
            for (const auto &[c, landmark] : best) {
                if (c > 0)
                    sum += std::pow(c, float(kNeighbourPower)) * space.vector(known.rows[landmark]);
            }
            const Eigen::Index gloveDims = glove.vectors.cols();
            placed[size_t(begin + k)]
                = joined(sum.head(sum.size() - gloveDims),
                         glove.vectors.row(added[size_t(begin + k)]).transpose());
        }
    }
    size_t count = 0;
    for (size_t i = 0; i < added.size(); ++i) {
        if (placed[i].size() > 0 && placed[i].norm() > 0) {
            space.place(glove.words[added[i]], placed[i].normalized());
            ++count;
        }
    }
    std::fprintf(stderr, "         %zu GloVe landmarks placed %zu of %zu new words\n",
                 known.rows.size(), count, added.size());
}
