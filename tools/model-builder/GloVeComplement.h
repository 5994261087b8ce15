// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GloVe.h"
#include "WordSpace.h"

#include <string>
#include <unordered_set>

// The space's word vectors with their GloVe vectors beside them, so sentence averages carry
// what words are used with (GloVe) as well as what they are (WordNet).
Eigen::MatrixXf joinWithGloVe(const std::vector<std::string> &words, const Eigen::MatrixXf &vectors,
                              const GloVe &glove);

// Brings the words only GloVe knows (brands, services, newer and regional words) into a space
// joined with GloVe (joinWithGloVe): each takes the meaning of its GloVe neighbours that the
// space already knows beside its own GloVe vector, so the space's geometry (and its
// calibration) stays as it is. Words with a description of their own (`described`) guide
// their GloVe neighbours however rare they are.
void complementWithGloVe(const GloVe &glove, WordSpace &space,
                         const std::unordered_set<std::string> &described);
