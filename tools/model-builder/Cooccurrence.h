// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Lexicon.h"
#include "TruncatedSvd.h"
#include "WordNet.h"

// The word x synset matrix: a word co-occurs with the synsets it belongs to, their neighbours
// in the WordNet graph, and the synsets whose definitions use it. Weighted as positive
// pointwise mutual information with smoothed context counts.
SparseMatrix ppmiMatrix(const WordNet &wordNet, const Lexicon &lexicon);
