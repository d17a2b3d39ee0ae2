#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/EigenSolver.h"

namespace quillon {
namespace {

using testing::MatrixOf;

// A block whose largest row sum is subnormal makes the bisection's tolerance underflow to zero,
// and the bracket then stalled between two neighbouring subnormals: the search never ended. It
// now stops after the 27 halvings it takes for any normal bound.
TEST(SubnormalBoundRegressionTest, TheBisectionEnds) {
    const double tiny = 1e-320;
    const double found = KthEigenvalue(MatrixOf({{tiny}}), 1, 1);
    EXPECT_GE(found, 0.0);
    EXPECT_LE(found, 10 * tiny);
}

} // namespace
} // namespace quillon
