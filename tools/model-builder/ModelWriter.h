// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Glossary.h"
#include "WordNet.h"
#include "WordSpace.h"

#include <string>
#include <vector>

struct ModelSettings
{
    int trigramDims = 64;
    // Spelling only settles typos and shared words; a larger share lets labels that merely
    // look alike ("ticket" in a brand name) crowd out the ones that mean the query.
    float trigramShare = 0.2f;
    // Word averages of unrelated texts still share a cosine of 0.1 to 0.3, and thousands of
    // brand descriptions raise it further, so 0.45 counts as unrelated: only labels above a
    // cosine of about 0.58 become near matches (similarity over 0.62), and a query with none
    // falls back to the five best instead of one or two doubtful ones.
    float cosineFloor = 0.45f;
    // GloVe's share of each vector raises the cosine of unrelated texts again: beside it a
    // cosine of 0.55 counts as unrelated, near matches need about 0.66, and queries for
    // nothing in a vault keep none.
    static constexpr float kCosineFloorWithGloVe = 0.55f;
    // How much the words every vault label carries ("password", "login", "number") weigh
    // against their usual weight, so "apple password" is about Apple more than about passwords.
    float vaultWordShare = 0.5f;
    uint64_t minWeightOnlyCount = 20; // frequent words without a meaning still get a weight
    // A label whose terms' descriptions hold the whole query comes 0.8 closer: enough for
    // "electric scooter" to find "Lime scooter" first, which its vector alone leaves far down.
    // Measured on the tuning sets, 0.7 ranked fewer wanted labels first and 0.9 no more.
    float coverWeight = 0.8f;
    // A word in more than one description in twenty ("account", "online", "app")
    // tells little about which is meant, and makes queries for nothing in a vault find some.
    double maxDescribedShare = 0.05;
};

// Writes the model file (see src/smartfind/ModelFormat.h): every word of the space, WordNet's
// irregular forms pointing at their base words, frequent meaningless words with their weights,
// and the words each glossary term's descriptions use. Returns false with a message on stderr
// when the file cannot be written.
bool writeModel(const std::string &path, const WordSpace &space, const WordNet &wordNet,
                const Eigen::MatrixXf &common, const std::vector<GlossaryEntry> &glossary,
                const ModelSettings &settings);
