#include <cmath>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/EigenSolver.h"

namespace quillon {
namespace {

using testing::MatrixOf;

// At lambda = 2 the first pivot of this matrix is zero, so columns 0 and 1 change places during
// the elimination. The back-substituted vector then belongs to the exchanged matrix: read as it
// comes out it is (0, -1, 1) / sqrt(2), which A does not map to 2 times itself. Undone, it is the
// eigenvector (-1, 0, 1) / sqrt(2).
TEST(EigenvectorExchangeRegressionTest, UndoesTheColumnExchange) {
    const TSquareMatrix A = MatrixOf({{2, 1, 0}, {1, 2, 1}, {0, 1, 2}});
    TSeries v;
    EigenvectorFor(A, 3, v, 2.0);
    const double half = 1.0 / std::sqrt(2.0);
    EXPECT_NEAR(v[0], -half, 1e-15);
    EXPECT_EQ(v[1], 0.0);
    EXPECT_NEAR(v[2], half, 1e-15);
}

// Two exchanges that share a column must be undone last first. At lambda = 0 columns 0 and 1
// change places at step 0, then columns 1 and 2 at step 1, and the back-substitution gives
// (0, 0, 1). Undone last first that is (1, 0, 0), which A maps to 0; undone first first it
// would be (0, 1, 0), which A maps to (1, 0, 2). A symmetric block cannot exchange twice in a row
// (the exchange leaves the lower neighbour of the cured pivot as the next pivot), so the input
// is an unsymmetric one, which the solver accepts as it is.
TEST(EigenvectorExchangeRegressionTest, UndoesOverlappingExchangesLastFirst) {
    const TSquareMatrix A = MatrixOf({{0, 1, 0}, {0, 0, 1}, {0, 2, 3}});
    TSeries v;
    EigenvectorFor(A, 3, v, 0.0);
    EXPECT_EQ(v[0], 1.0);
    EXPECT_EQ(v[1], 0.0);
    EXPECT_EQ(v[2], 0.0);
}

} // namespace
} // namespace quillon
