#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "LiteralEngine.h"
#include "RandomInputs.h"
#include "engine/EigenSolver.h"
#include "engine/WaveComponent.h"

namespace quillon {
namespace {

using testing::PriceWalk;
using testing::RandomSmallIntegers;
using testing::RandomSymmetric;

// What a call gave: its value, or the message of its error.
template <typename T>
struct Outcome {
    std::optional<T> value;
    std::string error;
};

template <typename Call>
auto OutcomeOf(Call&& call) -> Outcome<decltype(call())> {
    try {
        return {call(), ""};
    } catch (const std::exception& error) {
        return {std::nullopt, error.what()};
    }
}

TSeries EigenvectorOf(const TSquareMatrix& A, int n, double lambda, bool literal) {
    TSeries v;
    if (literal) {
        oracle::EigenvectorFor(A, n, v, lambda);
    } else {
        EigenvectorFor(A, n, v, lambda);
    }
    return v;
}

// The count, each eigenvalue and each eigenvector of the engine against the oracle's, on a
// matrix and a set of shifts; where the oracle fails, the engine must fail with its message.
void ExpectSolverMatchesOracle(const TSquareMatrix& A, int n, const std::vector<double>& shifts,
                               const std::vector<int>& ranks) {
    for (double x : shifts) {
        const auto engine = OutcomeOf([&] { return CountEigenvaluesBelow(A, n, x); });
        const auto literal = OutcomeOf([&] { return oracle::CountEigenvaluesBelow(A, n, x); });
        ASSERT_EQ(engine.error, literal.error) << "count, n = " << n << ", x = " << x;
        ASSERT_EQ(engine.value, literal.value) << "count, n = " << n << ", x = " << x;

        const auto vector = OutcomeOf([&] { return EigenvectorOf(A, n, x, false); });
        const auto literalVector = OutcomeOf([&] { return EigenvectorOf(A, n, x, true); });
        ASSERT_EQ(vector.error, literalVector.error) << "vector, n = " << n << ", x = " << x;
        for (int i = 0; vector.value && i < n; ++i) {
            ASSERT_NEAR((*vector.value)[i], (*literalVector.value)[i], 1e-12)
                << "vector, n = " << n << ", x = " << x << ", entry " << i;
        }
    }
    for (int k : ranks) {
        const auto engine = OutcomeOf([&] { return KthEigenvalue(A, k, n); });
        const auto literal = OutcomeOf([&] { return oracle::KthEigenvalue(A, k, n); });
        ASSERT_EQ(engine.error, literal.error) << "eigenvalue, n = " << n << ", k = " << k;
        if (literal.value) {
            ASSERT_NEAR(*engine.value, *literal.value, 1e-12 * std::abs(*literal.value))
                << "eigenvalue, n = " << n << ", k = " << k;
        }
    }
}

TEST(EngineAgainstOracleTest, SolverOnRandomSymmetricMatrices) {
    std::mt19937_64 random(20240611);
    for (int n : {1, 2, 3, 5, 8, 17, 40}) {
        for (const auto& [low, high] : {std::pair{-1.0, 1.0}, std::pair{0.0, 2.0}}) {
            const TSquareMatrix A = RandomSymmetric(random, n, low, high);
            std::uniform_real_distribution<double> shift(-n * high, n * high);
            const std::vector<double> shifts = {shift(random), shift(random), 0.0};
            ExpectSolverMatchesOracle(A, n, shifts, {0, 1, n / 2 + 1, n, n + 1});
        }
    }
    const TSquareMatrix largest = RandomSymmetric(random, 101, 0.0, 2.0);
    ExpectSolverMatchesOracle(largest, 101, {50.0, 100.0}, {1, 101});
}

// Whole entries hit exact zero pivots: exchanges that cure them, and ones that do not.
TEST(EngineAgainstOracleTest, SolverOnSmallIntegerMatrices) {
    std::mt19937_64 random(77);
    for (int trial = 0; trial < 300; ++trial) {
        const int n = 2 + trial % 19;
        const TSquareMatrix A = RandomSmallIntegers(random, n);
        ExpectSolverMatchesOracle(A, n, {-1.0, 0.0, 1.0, 2.0, 0.5}, {1, n});
    }
}

// Rows 0..step+1 uncoupled, so that pivot `step` is exactly zero; the later rows are coupled
// to all. Row `step` has a 1 beside its zero pivot when the exchange is to cure it, and 0 when
// it is not; the diagonal entry of row step+1 then picks the error.
TSquareMatrix ZeroPivotAt(std::mt19937_64& random, int n, int step, double beside, double next) {
    TSquareMatrix A = RandomSymmetric(random, n, -1.0, 1.0);
    for (int i = 0; i < step + 2; ++i) {
        for (int j = 0; j < step + 2; ++j) {
            A[i][j] = i == j ? 2.0 + i : 0.0;
        }
    }
    A[step][step] = 0.0;
    A[step][step + 1] = beside;
    A[step + 1][step] = beside;
    A[step + 1][step + 1] = next;
    return A;
}

// Zero pivots deep inside the matrix, past the first block of steps the engine takes at once.
TEST(EngineAgainstOracleTest, SolverWithLateZeroPivots) {
    std::mt19937_64 random(12);
    struct Case {
        double beside;
        double next;
        const char* error;
    };
    const Case cases[] = {{1.0, 3.0, ""},
                          {0.0, 3.0, "Floating point division by zero"},
                          {0.0, 0.0, "Invalid floating point operation"}};
    for (const int step : {3, 12, 37}) {
        for (const Case& c : cases) {
            const TSquareMatrix A = ZeroPivotAt(random, 45, step, c.beside, c.next);
            ExpectSolverMatchesOracle(A, 45, {0.0}, {});
            EXPECT_EQ(testing::ErrorOf([&] { CountEigenvaluesBelow(A, 45, 0.0); }), c.error)
                << "step " << step;
        }
    }
}

// An overflow that only the entries left of the diagonal meet: row 1 keeps a rounding residue
// of about 1e284 in column 0, and the next step scales it by 1e30. The columns right of the
// diagonal stay finite.
TEST(EngineAgainstOracleTest, SolverFaultLeftOfTheDiagonal) {
    const TSquareMatrix A = testing::MatrixOf({{49, 0, 0}, {1.1e300, 1, 0}, {0, 1e30, 1}});
    ExpectSolverMatchesOracle(A, 3, {0.0}, {});
    EXPECT_EQ(testing::ErrorOf([&] { CountEigenvaluesBelow(A, 3, 0.0); }),
              "Floating point overflow");
}

struct WaveCase {
    int N;
    int L;
    int R;
    int r;
};

// The largest magnitude among the series' points: the scale the waves are compared on.
double LevelOf(const TSeries& series, int N) {
    double level = 0.0;
    for (int i = 0; i < N; ++i) {
        level = std::max(level, std::abs(series[i]));
    }
    return level;
}

// Returns the oracle's error message, "" when it gave a wave.
std::string ExpectWaveMatchesOracle(const TSeries& series, const WaveCase& c) {
    const auto engine = OutcomeOf([&] { return WaveComponent(series, c.N, c.L, c.R, c.r); });
    const auto literal =
        OutcomeOf([&] { return oracle::WaveComponent(series, c.N, c.L, c.R, c.r); });
    const std::string where = "N = " + std::to_string(c.N) + ", L = " + std::to_string(c.L) +
                              ", R = " + std::to_string(c.R) + ", r = " + std::to_string(c.r);
    EXPECT_EQ(engine.error, literal.error) << where;
    if (engine.value && literal.value) {
        const double allowed = 1e-9 * LevelOf(series, c.N);
        int worst = 0;
        for (int i = 0; i < c.N; ++i) {
            if (std::abs((*engine.value)[i] - (*literal.value)[i]) >
                std::abs((*engine.value)[worst] - (*literal.value)[worst])) {
                worst = i;
            }
        }
        EXPECT_NEAR((*engine.value)[worst], (*literal.value)[worst], allowed)
            << where << ", point " << worst;
    }
    return literal.error;
}

// Every component r < R of the engine against the oracle's, which works them all out in one
// run; where the oracle fails, every engine call must fail with its message.
void ExpectAllComponentsMatchOracle(const TSeries& series, int N, int L, int R) {
    const auto literal = OutcomeOf([&] { return oracle::WaveComponents(series, N, L, R); });
    const double allowed = 1e-9 * LevelOf(series, N);
    for (int r = 0; r < R; ++r) {
        const std::string where = "N = " + std::to_string(N) + ", L = " + std::to_string(L) +
                                  ", R = " + std::to_string(R) + ", r = " + std::to_string(r);
        const auto engine = OutcomeOf([&] { return WaveComponent(series, N, L, R, r); });
        ASSERT_EQ(engine.error, literal.error) << where;
        for (int i = 0; engine.value && i < N; ++i) {
            ASSERT_NEAR((*engine.value)[i], (*literal.value)[r][i], allowed)
                << where << ", point " << i;
        }
    }
}

TEST(EngineAgainstOracleTest, WavesOfPriceWalks) {
    std::mt19937_64 random(1100);
    struct Case {
        int N;
        int L;
        int R;
    };
    const Case cases[] = {{1000, 101, 5}, {500, 39, 5}, {500, 16, 5}, {70, 50, 5}, {1000, 1, 5},
                          {300, 2, 5},    {777, 64, 3}, {37, 12, 10}, {40, 30, 5}, {999, 7, 8}};
    for (const Case& c : cases) {
        ExpectAllComponentsMatchOracle(PriceWalk(random, c.N), c.N, c.L, c.R);
    }
}

TEST(EngineAgainstOracleTest, WavesOfShortRandomSeries) {
    std::mt19937_64 random(5);
    std::uniform_int_distribution<int> length(1, 60);
    std::uniform_real_distribution<double> point(-3.0, 3.0);
    for (int trial = 0; trial < 30; ++trial) {
        const int N = length(random);
        const int L = std::uniform_int_distribution<int>(1, std::min(N, 12))(random);
        const int R = std::uniform_int_distribution<int>(1, 10)(random);
        TSeries series;
        for (int i = 0; i < N; ++i) {
            series[i] = point(random);
        }
        ExpectAllComponentsMatchOracle(series, N, L, R);
    }
}

TEST(EngineAgainstOracleTest, WavesThatFail) {
    std::mt19937_64 random(9);
    const TSeries prices = PriceWalk(random, 1000);
    TSeries zeros;
    TSeries huge = prices;
    for (int i = 0; i < 1000; ++i) {
        huge[i] *= 1e160;
    }
    // Only the second component's bisection meets a zero pivot.
    const TSeries otherComponentFails = testing::SeriesOf({3, 0, 5, 0, 2, 0, 1, 0, 1, 0, 15});
    struct FailingCase {
        const TSeries* series;
        WaveCase wave;
    };
    const FailingCase cases[] = {
        {&zeros, {50, 2, 5, 0}},
        {&zeros, {50, 101, 5, 0}},
        {&prices, {3, 5, 5, 0}},
        {&prices, {0, 2, 5, 0}},
        {&prices, {500, 0, 5, 0}},
        {&prices, {500, -4, 5, 0}},
        {&prices, {1001, 39, 5, 0}},
        {&prices, {500, 102, 5, 0}},
        {&prices, {500, 16, 11, 0}},
        {&prices, {500, 16, 5, 10}},
        {&prices, {500, 16, 5, -1}},
        {&huge, {500, 16, 5, 0}},
        {&otherComponentFails, {11, 2, 2, 0}},
    };
    for (const FailingCase& c : cases) {
        EXPECT_NE(ExpectWaveMatchesOracle(*c.series, c.wave), "")
            << "N = " << c.wave.N << ", L = " << c.wave.L;
    }
}

} // namespace
} // namespace quillon
