#include <cfenv>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/EigenSolver.h"

namespace quillon {
namespace {

using testing::ErrorOf;
using testing::MatrixOf;

const TSquareMatrix Diagonal = MatrixOf({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}});
const TSquareMatrix Pair = MatrixOf({{2, 1}, {1, 2}});
const TSquareMatrix Swap = MatrixOf({{0, 1}, {1, 0}});
const TSquareMatrix MinusIdentity = MatrixOf({{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}});
const TSquareMatrix Four = MatrixOf({{4}});
const TSquareMatrix Huge = MatrixOf({{1e308, 1e308}, {1e308, 1e308}});
const TSquareMatrix Zero;
// The bisection halves the bracket [0, 10 * M] 27 times, down to M / 10^7.
const double Halvings = std::ldexp(1.0, 27);

TEST(KthEigenvalueTest, BisectsInsideZeroToTenTimesTheLargestRowSum) {
    struct Case {
        const TSquareMatrix& A;
        int n, k;
        double expected, tolerance;
    };
    const Case cases[] = {{Diagonal, 3, 1, 1.0, 1.5e-7},
                          {Diagonal, 3, 2, 2.0, 1.5e-7},
                          {Diagonal, 3, 3, 3.0, 1.5e-7},
                          {Pair, 2, 1, 1.0, 1.5e-7},
                          {Pair, 2, 2, 3.0, 1.5e-7},
                          // Ranks and eigenvalues outside the bracket end at its floor or its top.
                          {Pair, 2, 0, 15.0 / Halvings, 0.0},
                          {Pair, 2, 3, 30.0 * (1.0 - 0.5 / Halvings), 0.0},
                          {Swap, 2, 1, 5.0 / Halvings, 0.0},
                          // Without a positive row sum there is no bracket to search.
                          {Zero, 3, 1, 0.0, 0.0},
                          {MinusIdentity, 3, 4, 0.0, 0.0}};
    for (const Case& c : cases) {
        EXPECT_NEAR(KthEigenvalue(c.A, c.k, c.n), c.expected, c.tolerance)
            << "n = " << c.n << ", k = " << c.k << ", A[0][1] = " << c.A[0][1];
    }
    EXPECT_EQ(ErrorOf([] { KthEigenvalue(Huge, 1, 2); }), "Floating point overflow");
    EXPECT_EQ(ErrorOf([] { KthEigenvalue(Four, 1, 102); }), "Range check error");
}

TEST(CountEigenvaluesBelowTest, CountsNegativePivots) {
    struct Case {
        const TSquareMatrix& A;
        int n;
        double x, count;
        const char* error;
    };
    const Case cases[] = {
        {Diagonal, 3, 2.5, 2.0, ""},
        {Swap, 2, 0.0, 0.0, ""}, // the zero first pivot is cured by the exchange
        {Four, 1, 4.0, 0.0, ""},
        {Four, 0, 5.0, 0.0, ""},
        // A pivot still zero after the exchange: the nonzero dividend makes it a division.
        {Diagonal, 3, 2.0, 0.0, "Floating point division by zero"},
        {Huge, 2, -1e308, 0.0, "Floating point overflow"},
        {Four, 102, 0.5, 0.0, "Range check error"}};
    for (const Case& c : cases) {
        double count = -1.0;
        EXPECT_EQ(ErrorOf([&] { count = CountEigenvaluesBelow(c.A, c.n, c.x); }), c.error)
            << "n = " << c.n << ", x = " << c.x;
        if (*c.error == '\0') {
            EXPECT_EQ(count, c.count) << "n = " << c.n << ", x = " << c.x;
        }
    }
}

// The solved vector in V[0..n-1] or the error, and V untouched elsewhere, or wholly on error.
void ExpectEigenvector(const TSquareMatrix& A, int n, double lambda,
                       const std::vector<double>& expected, const char* error = "") {
    TSeries v;
    TSeries after;
    for (int i = 0; i < SeriesCapacity; ++i) {
        v[i] = -7.0;
        after[i] = i < static_cast<int>(expected.size()) ? expected[i] : -7.0;
    }
    ASSERT_EQ(ErrorOf([&] { EigenvectorFor(A, n, v, lambda); }), error) << "lambda " << lambda;
    for (int i = 0; i < SeriesCapacity; ++i) {
        ASSERT_NEAR(v[i], after[i], 1e-15) << "lambda " << lambda << ", entry " << i;
    }
}

const double Half = 1.0 / std::sqrt(2.0);

TEST(EigenvectorForTest, GivesUnitVectorsWithTheLastEntryPositive) {
    ExpectEigenvector(Four, 1, 4.0, {1.0});
    ExpectEigenvector(Pair, 2, 3.0, {Half, Half});
    ExpectEigenvector(Pair, 2, 1.0, {-Half, Half});
    // Zero over a zero pivot is the invalid operation; V keeps what it held.
    ExpectEigenvector(Zero, 2, 0.0, {}, "Invalid floating point operation");
}

// At lambda = 2 the first pivot is zero, so columns 0 and 1 change places. Read as it comes out
// of the back-substitution, the vector is (0, -1, 1) / sqrt(2), which A does not map to 2 times
// itself; with the exchange undone it is the eigenvector (-1, 0, 1) / sqrt(2).
TEST(EigenvectorExchangeRegressionTest, UndoesTheColumnExchange) {
    ExpectEigenvector(MatrixOf({{2, 1, 0}, {1, 2, 1}, {0, 1, 2}}), 3, 2.0, {-Half, 0.0, Half});
}

// Exchanges sharing a column must be undone last first. At lambda = 0 columns 0 and 1 change
// places, then columns 1 and 2, and the back-substitution gives (0, 0, 1): undone last first
// that is (1, 0, 0), which A maps to 0; first first it would be (0, 1, 0). A symmetric block
// cannot exchange twice in a row, so this block is unsymmetric, which the solver accepts.
TEST(EigenvectorExchangeRegressionTest, UndoesOverlappingExchangesLastFirst) {
    ExpectEigenvector(MatrixOf({{0, 1, 0}, {0, 0, 1}, {0, 2, 3}}), 3, 0.0, {1.0, 0.0, 0.0});
}

// The engine watches its thread's floating-point flags; the caller's flags are as it left them
// afterwards, raised or not, whether the call returned or failed.
TEST(EigenSolverFaultTest, LeavesTheThreadsFaultFlagsAsFound) {
    const int faults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
    std::feclearexcept(faults);
    ErrorOf([] { CountEigenvaluesBelow(Diagonal, 3, 2.0); });
    EXPECT_EQ(std::fetestexcept(faults), 0);
    std::feraiseexcept(FE_OVERFLOW);
    EXPECT_EQ(CountEigenvaluesBelow(Diagonal, 3, 2.5), 2.0);
    EXPECT_EQ(std::fetestexcept(faults), FE_OVERFLOW);
    std::feclearexcept(faults);
}

} // namespace
} // namespace quillon
