// SPDX-License-Identifier: GPL-3.0-or-later
#include "TruncatedSvd.h"

#include <Eigen/Cholesky>
#include <Eigen/Eigenvalues>

#include <cmath>
#include <random>

namespace {

// Gaussian test matrix from our own Box-Muller so the bits do not depend on how the standard
// library implements its distributions.
Eigen::MatrixXf gaussian(Eigen::Index rows, Eigen::Index cols, uint64_t seed)
{
    std::mt19937_64 engine(seed);
    const auto uniform = [&engine] { return (double(engine() >> 11) + 0.5) * 0x1.0p-53; };
    Eigen::MatrixXf m(rows, cols);
    for (Eigen::Index j = 0; j < cols; ++j) {
        for (Eigen::Index i = 0; i < rows; ++i) {
            const double radius = std::sqrt(-2.0 * std::log(uniform()));
            m(i, j) = float(radius * std::cos(2.0 * M_PI * uniform()));
        }
    }
    return m;
}

// Cholesky QR, done twice for accuracy: far cheaper than Householder on tall thin matrices.
void orthonormalize(Eigen::MatrixXf &y)
{
    for (int pass = 0; pass < 2; ++pass) {
        Eigen::MatrixXd gram = (y.transpose() * y).cast<double>();
        gram.diagonal().array() += 1e-9 * gram.diagonal().maxCoeff();
        const Eigen::LLT<Eigen::MatrixXd> cholesky(gram);
        const Eigen::MatrixXf inverseUpper
            = cholesky.matrixU().solve(Eigen::MatrixXd::Identity(y.cols(), y.cols())).cast<float>();
        y = y * inverseUpper;
    }
}

} // namespace

TruncatedSvd truncatedSvd(const SparseMatrix &a, int rank, int oversampling, int powerIterations,
                          uint64_t seed)
{
    const int width = rank + oversampling;
    Eigen::MatrixXf y = a * gaussian(a.cols(), width, seed);
    orthonormalize(y);
    for (int i = 0; i < powerIterations; ++i) {
        Eigen::MatrixXf z = a.transpose() * y;
        orthonormalize(z);
        y = a * z;
        orthonormalize(y);
    }
    // B = Yᵀ A is small: its left singular vectors come from the eigenvectors of B Bᵀ.
    const Eigen::MatrixXf bt = a.transpose() * y;
    const Eigen::MatrixXd gram = (bt.transpose() * bt).cast<double>();
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> eigen(gram);
    TruncatedSvd result;
    result.u.resize(a.rows(), rank);
    result.sigma.resize(rank);
    Eigen::MatrixXf vectors(width, rank);
    for (int k = 0; k < rank; ++k) {
        const int from = width - 1 - k; // eigenvalues come in ascending order
        result.sigma(k) = float(std::sqrt(std::max(0.0, eigen.eigenvalues()(from))));
        Eigen::VectorXd v = eigen.eigenvectors().col(from);
        // A fixed sign per component keeps the output independent of solver choices.
        Eigen::Index largest = 0;
        v.cwiseAbs().maxCoeff(&largest);
        if (v(largest) < 0)
            v = -v;
        vectors.col(k) = v.cast<float>();
    }
    result.u = y * vectors;
    return result;
}
