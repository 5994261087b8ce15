// SPDX-License-Identifier: GPL-3.0-or-later
#include "Cooccurrence.h"

#include <cmath>
#include <string_view>

namespace {

constexpr float kOwnSynset = 1.0f;
constexpr float kPhrasePart = 0.3f;
constexpr float kGrandparent = 0.25f;
constexpr float kDefinitionWord = 0.2f;
constexpr double kContextSmoothing = 0.75;

float linkWeight(std::string_view symbol)
{
    if (symbol == "@" || symbol == "@i")
        return 0.5f; // hypernym
    if (symbol == "~" || symbol == "~i")
        return 0.25f; // hyponym: general words have hundreds
    if (symbol.size() == 2 && (symbol[0] == '#' || symbol[0] == '%'))
        return 0.4f; // part and whole
    if (symbol.size() == 2 && (symbol[0] == ';' || symbol[0] == '-'))
        return 0.3f; // topic, region and usage domains
    if (symbol == "!")
        return 0.0f; // antonyms mean the opposite
    return 0.5f; // similar, see also, attribute, derivation, pertainym, verb group, cause…
}

// The definition, without the quoted examples that follow it.
std::string definitionOf(const std::string &gloss)
{
    const auto quote = gloss.find('"');
    return quote == std::string::npos ? gloss : gloss.substr(0, quote);
}

} // namespace

SparseMatrix ppmiMatrix(const WordNet &wordNet, const Lexicon &lexicon)
{
    std::vector<Eigen::Triplet<float, int64_t>> cells;
    const auto add = [&cells](uint32_t word, uint32_t synset, float weight) {
        cells.emplace_back(word, synset, weight);
    };
    const auto &synsets = wordNet.synsets;
    for (uint32_t s = 0; s < synsets.size(); ++s) {
        const WordNet::Synset &synset = synsets[s];
        for (const uint32_t lemma : synset.lemmas) {
            add(lemma, s, kOwnSynset);
            const std::string &text = wordNet.words[lemma];
            if (text.find(' ') != std::string::npos) {
                for (const uint32_t part : lexicon.lemmasIn(text))
                    add(part, s, kPhrasePart);
            }
        }
        for (const WordNet::Link &link : synset.links) {
            const float weight = linkWeight(link.symbol);
            if (weight == 0.0f)
                continue;
            const bool lexical = link.sourceWord != 0 && link.sourceWord <= synset.lemmas.size();
            const bool hypernym = link.symbol == "@" || link.symbol == "@i";
            for (size_t i = 0; i < synset.lemmas.size(); ++i) {
                if (lexical && i + 1 != link.sourceWord)
                    continue;
                add(synset.lemmas[i], link.target, weight);
                if (!hypernym)
                    continue;
                for (const WordNet::Link &up : synsets[link.target].links) {
                    if (up.symbol == "@" || up.symbol == "@i")
                        add(synset.lemmas[i], up.target, kGrandparent);
                }
            }
        }
        for (const uint32_t word : lexicon.lemmasIn(definitionOf(synset.gloss)))
            add(word, s, kDefinitionWord);
    }

    SparseMatrix counts(int64_t(wordNet.words.size()), int64_t(synsets.size()));
    counts.setFromTriplets(cells.begin(), cells.end());
    cells = {};

    Eigen::VectorXd rowSums = Eigen::VectorXd::Zero(counts.rows());
    Eigen::VectorXd columnSums = Eigen::VectorXd::Zero(counts.cols());
    for (int64_t r = 0; r < counts.outerSize(); ++r) {
        for (SparseMatrix::InnerIterator it(counts, r); it; ++it) {
            rowSums(r) += it.value();
            columnSums(it.col()) += it.value();
        }
    }
    const Eigen::VectorXd smoothed = columnSums.array().pow(kContextSmoothing);
    const double smoothedTotal = smoothed.sum();
    for (int64_t r = 0; r < counts.outerSize(); ++r) {
        for (SparseMatrix::InnerIterator it(counts, r); it; ++it) {
            const double pmi
                = std::log(it.value() * smoothedTotal / (rowSums(r) * smoothed(it.col())));
            it.valueRef() = float(std::max(0.0, pmi));
        }
    }
    counts.prune(0.0f);
    return counts;
}
