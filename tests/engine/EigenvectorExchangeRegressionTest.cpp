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

} // namespace
} // namespace quillon
