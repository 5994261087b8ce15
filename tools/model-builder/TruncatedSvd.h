// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Eigen/Dense>
#include <Eigen/SparseCore>

#include <cstdint>

using SparseMatrix = Eigen::SparseMatrix<float, Eigen::RowMajor, int64_t>;

struct TruncatedSvd
{
    Eigen::MatrixXf u; // rows x rank, orthonormal columns
    Eigen::VectorXf sigma; // rank singular values, largest first
};

// Randomized range finder with power iterations (Halko, Martinsson and Tropp), seeded so two
// runs on the same matrix give the same bits.
TruncatedSvd truncatedSvd(const SparseMatrix &a, int rank, int oversampling, int powerIterations,
                          uint64_t seed);
