// SPDX-License-Identifier: GPL-3.0-or-later
// Builds Binzo's smart-find model from WordNet 3.0 and the glossary:
//   binzo-model-builder WORDNET_DIR GLOSSARY OUTPUT
#include "Cooccurrence.h"
#include "Glossary.h"
#include "Lexicon.h"
#include "ModelWriter.h"
#include "TruncatedSvd.h"
#include "WordNet.h"
#include "WordSpace.h"

#include "smartfind/WordForms.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <iostream>

namespace {

constexpr int kDims = 300;
constexpr int kOversampling = 20;
constexpr int kPowerIterations = 2;
constexpr uint64_t kSeed = 20061231;
constexpr float kSingularValuePower = 0.5f;
constexpr int kCommonDirections = 1;
constexpr int kCommonIterations = 50;
constexpr size_t kCommonSampleStride = 8; // every 8th gloss is plenty for the main directions

void progress(const char *step)
{
    static const auto start = std::chrono::steady_clock::now();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::fprintf(stderr, "[%5.1f s] %s\n", elapsed.count(), step);
}

std::unordered_map<std::string, uint64_t> glossWordCounts(const WordNet &wordNet,
                                                          const Lexicon &lexicon)
{
    std::unordered_map<std::string, uint64_t> counts;
    for (const WordNet::Synset &synset : wordNet.synsets) {
        for (const QString &token :
             WordForms::tokens(QString::fromStdString(synset.gloss).toLower()))
            ++counts[lexicon.countedForm(token)];
    }
    return counts;
}

// Directions every sentence shares (function words, the mean): the top principal components
// of the glosses' sentence vectors, found by power iteration from a fixed start.
Eigen::MatrixXf commonDirections(const WordNet &wordNet, const WordSpace &space)
{
    const size_t samples = wordNet.synsets.size() / kCommonSampleStride;
    Eigen::MatrixXf sentences(Eigen::Index(samples), space.dims());
    for (size_t i = 0; i < samples; ++i) {
        const std::string &gloss = wordNet.synsets[i * kCommonSampleStride].gloss;
        sentences.row(Eigen::Index(i)) = space.sentence(QString::fromStdString(gloss)).transpose();
    }
    const Eigen::MatrixXf covariance = sentences.transpose() * sentences;
    Eigen::MatrixXf directions(kCommonDirections, space.dims());
    for (int c = 0; c < kCommonDirections; ++c) {
        Eigen::VectorXf v = Eigen::VectorXf::Ones(space.dims()).normalized();
        for (int i = 0; i < kCommonIterations; ++i) {
            v = covariance * v;
            for (int p = 0; p < c; ++p)
                v -= directions.row(p).dot(v) * directions.row(p).transpose();
            v.normalize();
        }
        directions.row(c) = v.transpose();
    }
    return directions;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: binzo-model-builder WORDNET_DIR GLOSSARY OUTPUT\n";
        return 2;
    }
    progress("reading WordNet");
    const std::optional<WordNet> wordNet = WordNet::read(argv[1]);
    const auto glossary = readGlossary(argv[2]);
    if (!wordNet || !glossary)
        return 1;
    const Lexicon lexicon(*wordNet);

    progress("counting and weighting co-occurrences");
    const SparseMatrix ppmi = ppmiMatrix(*wordNet, lexicon);
    std::fprintf(stderr, "         %lld words x %lld synsets, %lld cells\n",
                 static_cast<long long>(ppmi.rows()), static_cast<long long>(ppmi.cols()),
                 static_cast<long long>(ppmi.nonZeros()));

    progress("truncated SVD");
    const TruncatedSvd svd = truncatedSvd(ppmi, kDims, kOversampling, kPowerIterations, kSeed);
    Eigen::MatrixXf vectors
        = svd.u * svd.sigma.array().pow(kSingularValuePower).matrix().asDiagonal();
    vectors.rowwise().normalize();

    progress("glossary and common directions");
    WordSpace space(wordNet->words, std::move(vectors), glossWordCounts(*wordNet, lexicon));
    const Eigen::MatrixXf common = commonDirections(*wordNet, space);
    applyGlossary(*glossary, *wordNet, common, space);

    progress("writing");
    if (!writeModel(argv[3], space, *wordNet, common, ModelSettings {}))
        return 1;
    progress("done");
    return 0;
}
