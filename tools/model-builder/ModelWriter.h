// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WordNet.h"
#include "WordSpace.h"

#include <string>

struct ModelSettings
{
    int trigramDims = 64;
    float trigramShare = 0.3f;
    float cosineFloor = 0.1f;
    uint64_t minWeightOnlyCount = 20; // frequent words without a meaning still get a weight
};

// Writes the model file (see src/quick/ModelFormat.h): every word of the space, WordNet's
// irregular forms pointing at their base words, and frequent meaningless words with their
// weights. Returns false with a message on stderr when the file cannot be written.
bool writeModel(const std::string &path, const WordSpace &space, const WordNet &wordNet,
                const Eigen::MatrixXf &common, const ModelSettings &settings);
