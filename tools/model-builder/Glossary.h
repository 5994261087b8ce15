// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WordNet.h"
#include "WordSpace.h"

#include <optional>
#include <string>
#include <vector>

// Vocabulary WordNet lacks or describes too narrowly, from data/glossary.txt: each line names
// one or more terms, a colon, and a plain description of what they mean.
struct GlossaryEntry
{
    std::vector<std::string> terms; // lower case
    std::string description;
};

std::optional<std::vector<GlossaryEntry>> readGlossary(const std::string &path);

// Gives every term the meaning of its description, blended with what WordNet already knows
// of it. Descriptions lose the directions every sentence shares, as at run time. Entries are
// applied in file order, so later descriptions may use earlier terms.
void applyGlossary(const std::vector<GlossaryEntry> &glossary, const WordNet &wordNet,
                   const Eigen::MatrixXf &common, WordSpace &space);
