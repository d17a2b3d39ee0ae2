#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/EigenSolver.h"

namespace quillon {
namespace {

// A symmetric matrix with a known spectrum: H * diag(d) * H for a Householder reflection H.
struct KnownSpectrum {
    TSquareMatrix A;
    std::vector<double> eigenvalues; // increasing
    TSquareMatrix H;                 // column k: the eigenvector of eigenvalue k
    double bound = 0.0;              // the largest row sum
};

KnownSpectrum MakeKnownSpectrum(std::mt19937_64& random, int n) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<double> u(n);
    double uu = 0.0;
    for (double& x : u) {
        x = unit(random);
        uu += x * x;
    }
    KnownSpectrum s;
    // Eigenvalues 1, 2, ..., n, each moved by at most a quarter: gaps stay above one half.
    for (int k = 0; k < n; ++k) {
        s.eigenvalues.push_back(k + 1 + 0.25 * unit(random));
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            s.H[i][j] = (i == j ? 1.0 : 0.0) - 2.0 * u[i] * u[j] / uu;
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            double sum = 0.0;
            for (int k = 0; k < n; ++k) {
                sum += s.H[i][k] * s.eigenvalues[k] * s.H[k][j];
            }
            s.A[i][j] = sum;
        }
    }
    for (int i = 0; i < n; ++i) {
        double row = 0.0;
        for (int j = 0; j < n; ++j) {
            row += s.A[i][j];
        }
        s.bound = std::max(s.bound, row);
    }
    return s;
}

class KnownSpectrumTest : public ::testing::TestWithParam<int> {};

// Sylvester's law of inertia: between two eigenvalues the count is the number below.
TEST_P(KnownSpectrumTest, CountsEigenvaluesBelowEachGap) {
    std::mt19937_64 random(GetParam());
    const KnownSpectrum s = MakeKnownSpectrum(random, GetParam());
    const int n = GetParam();
    EXPECT_EQ(CountEigenvaluesBelow(s.A, n, 0.0), 0.0);
    for (int k = 1; k < n; ++k) {
        const double gap = 0.5 * (s.eigenvalues[k - 1] + s.eigenvalues[k]);
        EXPECT_EQ(CountEigenvaluesBelow(s.A, n, gap), k) << "gap " << k;
    }
    EXPECT_EQ(CountEigenvaluesBelow(s.A, n, n + 1.0), n);
}

// Each eigenvalue within half the tolerance M / 10^7. Each vector has unit length, and a
// residual no larger than the eigenvalue's error allows: one solve with the last entry pinned
// leaves a residual of about that error divided by the true eigenvector's last entry. Vectors
// of different eigenvalues are then orthogonal up to those residuals over the gap (at least 1/2).
TEST_P(KnownSpectrumTest, FindsEachEigenpair) {
    std::mt19937_64 random(GetParam());
    const KnownSpectrum s = MakeKnownSpectrum(random, GetParam());
    const int n = GetParam();
    const double tolerance = s.bound / 1e7;
    std::vector<TSeries> vectors(n);
    std::vector<double> allowedResidual(n);
    for (int k = 1; k <= n; ++k) {
        allowedResidual[k - 1] = 2 * tolerance / std::abs(s.H[n - 1][k - 1]) + 1e-12;
        const double lambda = KthEigenvalue(s.A, k, n);
        ASSERT_NEAR(lambda, s.eigenvalues[k - 1], tolerance / 2 + 1e-12) << "k = " << k;
        TSeries& v = vectors[k - 1];
        EigenvectorFor(s.A, n, v, lambda);
        double length = 0.0;
        double residual = 0.0;
        for (int i = 0; i < n; ++i) {
            length += v[i] * v[i];
            double image = 0.0;
            for (int j = 0; j < n; ++j) {
                image += s.A[i][j] * v[j];
            }
            residual = std::max(residual, std::abs(image - lambda * v[i]));
        }
        EXPECT_NEAR(length, 1.0, 1e-14) << "k = " << k;
        EXPECT_LT(residual, allowedResidual[k - 1]) << "k = " << k;
    }
    for (int k = 0; k < n; ++k) {
        for (int l = k + 1; l < n; ++l) {
            double dot = 0.0;
            for (int i = 0; i < n; ++i) {
                dot += vectors[k][i] * vectors[l][i];
            }
            EXPECT_LT(std::abs(dot), 2 * (allowedResidual[k] + allowedResidual[l]))
                << "vectors " << k << " and " << l;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Orders, KnownSpectrumTest, ::testing::Values(2, 3, 9, 20, 33));

} // namespace
} // namespace quillon
