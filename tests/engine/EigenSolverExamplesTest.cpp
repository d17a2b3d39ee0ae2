#include <cfenv>
#include <cmath>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/EigenSolver.h"

namespace quillon {
namespace {

using testing::ErrorOf;
using testing::MatrixOf;

const double InverseRootTwo = 1.0 / std::sqrt(2.0);
// 2^27: the bisection halves the bracket [0, 10 * M] this many times.
const double Halvings = std::ldexp(1.0, 27);

// Bisection: each eigenvalue inside [0, 10 * M] comes out within M / (2 * 10^7).
TEST(KthEigenvalueTest, FindsEigenvaluesInsideTheSearchInterval) {
    EXPECT_NEAR(KthEigenvalue(MatrixOf({{4}}), 1, 1), 4.0, 2e-7);

    const TSquareMatrix diagonal = MatrixOf({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}});
    for (int k = 1; k <= 3; ++k) {
        EXPECT_NEAR(KthEigenvalue(diagonal, k, 3), k, 1.5e-7) << "k = " << k;
    }

    const TSquareMatrix pair = MatrixOf({{2, 1}, {1, 2}});
    EXPECT_NEAR(KthEigenvalue(pair, 1, 2), 1.0, 1.5e-7);
    EXPECT_NEAR(KthEigenvalue(pair, 2, 2), 3.0, 1.5e-7);
}

// Ranks and eigenvalues outside the interval end at its floor or its top.
TEST(KthEigenvalueTest, EndsAtTheBracketsEdgesOutsideTheInterval) {
    const TSquareMatrix pair = MatrixOf({{2, 1}, {1, 2}});
    EXPECT_EQ(KthEigenvalue(pair, 0, 2), 15.0 / Halvings);
    EXPECT_EQ(KthEigenvalue(pair, 3, 2), 30.0 * (1.0 - 0.5 / Halvings));

    const TSquareMatrix swap = MatrixOf({{0, 1}, {1, 0}});
    EXPECT_EQ(KthEigenvalue(swap, 1, 2), 5.0 / Halvings);
    EXPECT_NEAR(KthEigenvalue(swap, 2, 2), 1.0, 1e-7);
}

// Without a positive row sum there is no interval to search.
TEST(KthEigenvalueTest, ReturnsZeroWithoutAPositiveRowSum) {
    EXPECT_EQ(KthEigenvalue(TSquareMatrix{}, 1, 3), 0.0);
    const TSquareMatrix minusIdentity = MatrixOf({{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}});
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(KthEigenvalue(minusIdentity, k, 3), 0.0) << "k = " << k;
    }
    EXPECT_EQ(KthEigenvalue(MatrixOf({{5}}), 1, 0), 0.0);
}

TEST(CountEigenvaluesBelowTest, CountsNegativePivots) {
    EXPECT_EQ(CountEigenvaluesBelow(MatrixOf({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}), 3, 2.5), 2.0);
    // The zero first pivot is cured by exchanging columns 0 and 1.
    EXPECT_EQ(CountEigenvaluesBelow(MatrixOf({{0, 1}, {1, 0}}), 2, 0.0), 0.0);
    EXPECT_EQ(CountEigenvaluesBelow(MatrixOf({{4}}), 1, 5.0), 1.0);
    EXPECT_EQ(CountEigenvaluesBelow(MatrixOf({{4}}), 1, 4.0), 0.0);
    EXPECT_EQ(CountEigenvaluesBelow(MatrixOf({{4}}), 0, 5.0), 0.0);
}

TEST(EigenvectorForTest, GivesUnitVectorsWithThePinnedEntryPositive) {
    TSeries v;
    EigenvectorFor(MatrixOf({{4}}), 1, v, 4.0);
    EXPECT_EQ(v[0], 1.0);

    const TSquareMatrix pair = MatrixOf({{2, 1}, {1, 2}});
    EigenvectorFor(pair, 2, v, 3.0);
    EXPECT_NEAR(v[0], InverseRootTwo, 1e-15);
    EXPECT_NEAR(v[1], InverseRootTwo, 1e-15);
    EigenvectorFor(pair, 2, v, 1.0);
    EXPECT_NEAR(v[0], -InverseRootTwo, 1e-15);
    EXPECT_NEAR(v[1], InverseRootTwo, 1e-15);
}

TEST(EigenvectorForTest, LeavesEntriesBeyondTheOrderAlone) {
    TSeries v;
    for (int i = 0; i < SeriesCapacity; ++i) {
        v[i] = -7.0;
    }
    EigenvectorFor(MatrixOf({{2, 1}, {1, 2}}), 2, v, 3.0);
    EXPECT_EQ(v[2], -7.0);
    EXPECT_EQ(v[999], -7.0);
}

// A pivot that stays zero after the exchange ends the operation; the dividend decides which
// error it is.
TEST(EigenSolverFaultTest, UncuredZeroPivotRaisesTheDivisionErrors) {
    const TSquareMatrix diagonal = MatrixOf({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}});
    EXPECT_EQ(ErrorOf([&] { CountEigenvaluesBelow(diagonal, 3, 2.0); }),
              "Floating point division by zero");
    TSeries v;
    EXPECT_EQ(ErrorOf([&] { EigenvectorFor(TSquareMatrix{}, 2, v, 0.0); }),
              "Invalid floating point operation");
}

TEST(EigenSolverFaultTest, OverflowRaisesTheOverflowError) {
    const TSquareMatrix huge = MatrixOf({{1e308, 1e308}, {1e308, 1e308}});
    EXPECT_EQ(ErrorOf([&] { KthEigenvalue(huge, 1, 2); }), "Floating point overflow");
    EXPECT_EQ(ErrorOf([&] { CountEigenvaluesBelow(MatrixOf({{-1e308}}), 1, 1e308); }),
              "Floating point overflow");
}

TEST(EigenSolverFaultTest, OrdersBeyondTheCapacityRaiseTheRangeError) {
    TSeries v;
    EXPECT_EQ(ErrorOf([&] { EigenvectorFor(MatrixOf({{1}}), 0, v, 1.0); }), "Range check error");
    EXPECT_EQ(ErrorOf([&] { EigenvectorFor(MatrixOf({{1}}), -3, v, 1.0); }), "Range check error");
    EXPECT_EQ(ErrorOf([&] { CountEigenvaluesBelow(MatrixOf({{1}}), 102, 0.5); }),
              "Range check error");
    EXPECT_EQ(ErrorOf([&] { KthEigenvalue(MatrixOf({{1}}), 1, 102); }), "Range check error");
}

// The engine watches the floating-point fault flags of its thread; the caller's flags are as
// it left them afterwards, raised or not, whether the call returned or failed.
TEST(EigenSolverFaultTest, LeavesTheThreadsFaultFlagsAsFound) {
    const TSquareMatrix diagonal = MatrixOf({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}});
    const int faults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
    std::feclearexcept(faults);
    ErrorOf([&] { CountEigenvaluesBelow(diagonal, 3, 2.0); });
    EXPECT_EQ(std::fetestexcept(faults), 0);
    std::feraiseexcept(FE_OVERFLOW);
    EXPECT_EQ(CountEigenvaluesBelow(diagonal, 3, 2.5), 2.0);
    EXPECT_EQ(std::fetestexcept(faults), FE_OVERFLOW);
    std::feclearexcept(faults);
}

// Neither a result nor an error may leave a trace in the caller's data.
TEST(EigenSolverFaultTest, CallerDataIsUnchanged) {
    const TSquareMatrix swap = MatrixOf({{0, 1}, {1, 0}});
    TSquareMatrix argument = swap;
    CountEigenvaluesBelow(argument, 2, 0.0);
    TSeries v;
    EigenvectorFor(argument, 2, v, 1.0);
    EXPECT_EQ(argument, swap);

    TSeries untouched;
    untouched[0] = 0.25;
    untouched[1] = 0.5;
    TSeries target = untouched;
    EXPECT_NE(ErrorOf([&] { EigenvectorFor(TSquareMatrix{}, 2, target, 0.0); }), "");
    EXPECT_EQ(target, untouched);
}

} // namespace
} // namespace quillon
