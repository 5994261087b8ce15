// SPDX-License-Identifier: GPL-3.0-or-later
// Builds Binzo's smart-find model from WordNet 3.0, optionally GloVe word vectors, and the
// glossaries (applied in the order given), with the words people search each glossary term by:
//   binzo-model-builder WORDNET_DIR OUTPUT [--glove TARBALL] [--search-words FILE]...
//                       [--names FILE]... GLOSSARY...
// A names file is a glossary of given names: described like any other, but its rarer names do
// not guide the words only GloVe knows, whose neighbours are thousands of other names and
// surnames that find nothing more and cost megabytes.
#include "Cooccurrence.h"
#include "GloVe.h"
#include "GloVeComplement.h"
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
constexpr size_t kGloVeWords = 200000; // rarer GloVe words are mostly names and misspellings

struct Arguments
{
    std::string wordNet;
    std::string output;
    std::string glove;
    std::vector<std::string> glossaries;
    std::vector<std::string> searchWords;
    std::vector<std::string> names;
};

std::optional<Arguments> parse(int argc, char **argv)
{
    if (argc < 4)
        return std::nullopt;
    Arguments arguments {argv[1], argv[2], {}, {}, {}, {}};
    for (int i = 3; i < argc; ++i) {
        if (std::string(argv[i]) == "--glove" && i + 1 < argc)
            arguments.glove = argv[++i];
        else if (std::string(argv[i]) == "--search-words" && i + 1 < argc)
            arguments.searchWords.emplace_back(argv[++i]);
        else if (std::string(argv[i]) == "--names" && i + 1 < argc)
            arguments.names.emplace_back(argv[++i]);
        else
            arguments.glossaries.emplace_back(argv[i]);
    }
    if (arguments.glossaries.empty())
        return std::nullopt;
    return arguments;
}

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
    const std::optional<Arguments> arguments = parse(argc, argv);
    if (!arguments) {
        std::cerr << "usage: binzo-model-builder WORDNET_DIR OUTPUT [--glove TARBALL] "
                     "[--search-words FILE]... [--names FILE]... GLOSSARY...\n";
        return 2;
    }
    progress("reading WordNet and the glossaries");
    const std::optional<WordNet> wordNet = WordNet::read(arguments->wordNet);
    const auto readAll
        = [](const std::vector<std::string> &paths, std::vector<GlossaryEntry> &into) {
              for (const std::string &path : paths) {
                  auto entries = readGlossary(path);
                  if (!entries)
                      return false;
                  into.insert(into.end(), entries->begin(), entries->end());
              }
              return true;
          };
    std::vector<GlossaryEntry> glossary;
    // The words each term is searched with, beside its descriptions; they give no meaning.
    std::vector<GlossaryEntry> searchWords;
    std::vector<GlossaryEntry> names;
    if (!readAll(arguments->glossaries, glossary) || !readAll(arguments->searchWords, searchWords)
        || !readAll(arguments->names, names) || !wordNet)
        return 1;
    const size_t guides = glossary.size();
    glossary.insert(glossary.end(), names.begin(), names.end());
    std::vector<GlossaryEntry> described = glossary;
    described.insert(described.end(), searchWords.begin(), searchWords.end());
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
    std::optional<GloVe> glove;
    if (!arguments->glove.empty()) {
        progress("reading GloVe");
        glove = readGloVe(arguments->glove, kGloVeWords);
        if (!glove)
            return 1;
        vectors = joinWithGloVe(wordNet->words, vectors, *glove);
    }

    progress("common directions");
    WordSpace space(wordNet->words, std::move(vectors), glossWordCounts(*wordNet, lexicon));
    const Eigen::MatrixXf common = commonDirections(*wordNet, space);
    progress("glossaries");
    applyGlossary(glossary, *wordNet, common, space);
    // After the glossaries, so their descriptions stay whole and guide the GloVe neighbours.
    if (glove) {
        progress("placing the words only GloVe knows");
        std::unordered_set<std::string> described;
        for (size_t i = 0; i < guides; ++i)
            described.insert(glossary[i].terms.begin(), glossary[i].terms.end());
        complementWithGloVe(*glove, space, described);
    }

    progress("writing");
    ModelSettings settings;
    if (glove)
        settings.cosineFloor = ModelSettings::kCosineFloorWithGloVe;
    if (!writeModel(arguments->output, space, *wordNet, common, described, settings))
        return 1;
    progress("done");
    return 0;
}
