// SPDX-License-Identifier: GPL-3.0-or-later
#include "Glossary.h"

#include "smartfind/ModelFormat.h"
#include "smartfind/WordForms.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>
#include <unordered_set>

namespace {

// How much of a term's own meaning survives next to its description.
constexpr float kOwnShare = 0.5f;
// A description names the kind of thing first ("an American bank, offering checking accounts,
// credit cards and car loans"): that head carries most of its meaning, so a long list of what
// the thing offers does not blur which kind of thing it is.
constexpr float kHeadShare = 0.7f;
// Cosine between a WordNet definition and a description above which both mean the same sense.
constexpr float kSameSense = 0.35f;
// How far a synonym of a defined term moves towards the description.
constexpr float kSynonymShare = 0.5f;
// Cosine between what a word meant before and its description below which the description
// names another sense ("stripe", a payments service), kept apart beside the blend.
constexpr float kOtherSense = 0.5f;

std::string trimmed(const std::string &text)
{
    return QString::fromStdString(text).simplified().toLower().toStdString();
}

// A term as the app finds it in a label: its words joined by spaces, so "booking.com" and
// "at&t" are reached as "booking com" and "at t".
std::string termOf(const QString &text)
{
    return WordForms::tokens(text.toLower()).join(QLatin1Char(' ')).toStdString();
}

} // namespace

std::optional<std::vector<GlossaryEntry>> readGlossary(const std::string &path)
{
    std::ifstream in(path);
    if (!in) {
        std::cerr << "cannot read " << path << '\n';
        return std::nullopt;
    }
    std::vector<GlossaryEntry> entries;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (trimmed(line).empty() || line[0] == '#')
            continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            std::cerr << path << ':' << number << ": expected \"terms: description\"\n";
            return std::nullopt;
        }
        GlossaryEntry entry;
        for (const QString &term : QString::fromStdString(line.substr(0, colon)).split(',')) {
            const std::string text = termOf(term);
            if (text.empty())
                continue;
            entry.terms.push_back(text);
            // Typed with a space, "steuer id" means what "steuer-id" does.
            if (std::string spaced
                = termOf(QString(term).replace(QLatin1Char('-'), QLatin1Char(' ')));
                spaced != text
                && std::find(entry.terms.begin(), entry.terms.end(), spaced) == entry.terms.end())
                entry.terms.push_back(std::move(spaced));
        }
        entry.description = line.substr(colon + 1);
        if (entry.terms.empty() || trimmed(entry.description).empty()) {
            std::cerr << path << ':' << number << ": empty term or description\n";
            return std::nullopt;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

namespace {

Eigen::VectorXf meaningOf(const std::string &text, const Eigen::MatrixXf &common,
                          const WordSpace &space)
{
    Eigen::VectorXf meaning = space.sentence(QString::fromStdString(text));
    for (Eigen::Index c = 0; c < common.rows(); ++c)
        meaning -= common.row(c).dot(meaning) * common.row(c).transpose();
    if (meaning.norm() > 0.0f)
        meaning.normalize();
    return meaning;
}

Eigen::VectorXf descriptionMeaning(const std::string &description, const Eigen::MatrixXf &common,
                                   const WordSpace &space)
{
    const Eigen::VectorXf whole = meaningOf(description, common, space);
    const auto comma = description.find(',');
    if (comma == std::string::npos)
        return whole;
    const Eigen::VectorXf head = meaningOf(description.substr(0, comma), common, space);
    if (head.norm() == 0.0f)
        return whole;
    return (kHeadShare * head + (1.0f - kHeadShare) * whole).normalized();
}

// What a term means before its description: its WordNet vector, or for a phrase WordNet
// lacks, its words together ("router admin" stays about routers); zero when neither is known.
Eigen::VectorXf ownMeaning(const std::string &term, const Eigen::MatrixXf &common,
                           const WordSpace &space)
{
    if (const auto row = space.find(term))
        return space.vector(*row);
    if (term.find(' ') != std::string::npos)
        return meaningOf(term, common, space);
    return Eigen::VectorXf::Zero(space.dims());
}

// WordNet's synsets holding each defined term, so a description can reach the term's synonyms.
std::unordered_map<std::string, std::vector<uint32_t>>
synsetsOfTerms(const std::unordered_set<std::string> &terms, const WordNet &wordNet)
{
    std::unordered_map<std::string, std::vector<uint32_t>> synsets;
    for (uint32_t s = 0; s < wordNet.synsets.size(); ++s) {
        for (const uint32_t lemma : wordNet.synsets[s].lemmas) {
            if (terms.count(wordNet.words[lemma]))
                synsets[wordNet.words[lemma]].push_back(s);
        }
    }
    return synsets;
}

} // namespace

void applyGlossary(const std::vector<GlossaryEntry> &glossary, const WordNet &wordNet,
                   const Eigen::MatrixXf &common, WordSpace &space)
{
    std::unordered_set<std::string> defined;
    for (const GlossaryEntry &entry : glossary)
        defined.insert(entry.terms.begin(), entry.terms.end());
    const auto synsetsOf = synsetsOfTerms(defined, wordNet);

    // Synonyms of a defined term in the sense its description means ("cash machine" beside
    // "atm") collect that description's meaning, weighted by how well the senses agree.
    std::unordered_map<uint32_t, Eigen::VectorXf> synonymMeanings;
    const auto addToSynonyms = [&](const WordNet::Synset &synset, const Eigen::VectorXf &meaning) {
        const std::string definition = synset.gloss.substr(0, synset.gloss.find('"'));
        const float agreement = meaningOf(definition, common, space).dot(meaning);
        if (agreement < kSameSense)
            return;
        for (const uint32_t lemma : synset.lemmas) {
            if (defined.count(wordNet.words[lemma]))
                continue;
            auto [sum, added] = synonymMeanings.try_emplace(lemma, meaning.size());
            if (added)
                sum->second.setZero();
            sum->second += agreement * meaning;
        }
    };
    std::map<std::string, Eigen::VectorXf> senses; // ordered, so the model stays byte-identical
    for (const GlossaryEntry &entry : glossary) {
        const Eigen::VectorXf meaning = descriptionMeaning(entry.description, common, space);
        if (meaning.norm() == 0.0f) {
            std::cerr << "glossary: no known word in the description of " << entry.terms[0] << '\n';
            continue;
        }
        for (const std::string &term : entry.terms) {
            if (const auto senses = synsetsOf.find(term); senses != synsetsOf.end()) {
                for (const uint32_t s : senses->second)
                    addToSynonyms(wordNet.synsets[s], meaning);
            }
            const Eigen::VectorXf own = ownMeaning(term, common, space);
            // A sense of a single word, the only kind a label's words are measured by alone.
            // Its whole description, not the head: measured, the head ranked worse.
            if (own.norm() > 0 && term.find(' ') == std::string::npos
                && (senses.count(term) || own.dot(meaning) < kOtherSense)) {
                auto [sum, added] = senses.try_emplace(term, meaning.size());
                if (added)
                    sum->second.setZero();
                sum->second += meaningOf(entry.description, common, space);
            }
            const Eigen::VectorXf vector
                = own.norm() > 0 ? kOwnShare * own + (1.0f - kOwnShare) * meaning : meaning;
            space.place(term, vector.normalized());
        }
    }
    for (const auto &[term, sum] : senses)
        space.place(term + ModelFormat::kSenseMark, sum.normalized());
    for (const auto &[lemma, sum] : synonymMeanings) {
        const Eigen::VectorXf vector = space.vector(lemma) + kSynonymShare * sum.normalized();
        space.place(wordNet.words[lemma], vector.normalized());
    }
}
