#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "LiteralEngine.h"
#include "engine/CheckedWave.h"
#include "engine/EigenSolver.h"
#include "engine/FloatFaultFlags.h"
#include "engine/WaveBatch.h"
#include "engine/WaveComponent.h"

namespace quillon {
namespace {

TSquareMatrix MatrixOf(std::initializer_list<std::initializer_list<double>> rows) {
    TSquareMatrix matrix;
    for (int i = 0; const auto& row : rows) {
        std::ranges::copy(row, matrix[i++].Slice(0, static_cast<int>(row.size())).begin());
    }
    return matrix;
}

template <typename Entry>
TSquareMatrix RandomSymmetric(std::mt19937_64& random, int n, Entry entry) {
    TSquareMatrix A;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= i; ++j) {
            A[i][j] = A[j][i] = entry(random);
        }
    }
    return A;
}

// Closes of a random walk from 1.1, rounded to five decimals as a terminal writes them.
TSeries PriceWalk(std::mt19937_64& random, int N) {
    std::normal_distribution<double> step(0.0, 0.0004);
    TSeries series;
    for (int i = 0; i < N; ++i) {
        series[i] = std::round(((i > 0 ? series[i - 1] : 1.1) + step(random)) * 1e5) / 1e5;
    }
    return series;
}

// A call's message ("" when it returns) and result, to the bit: every route rounds as the oracle.
template <typename Call>
std::pair<std::string, decltype(std::declval<Call>()())> Outcome(Call&& call) {
    std::pair<std::string, decltype(call())> outcome{};
    try {
        outcome.second = call();
    } catch (const std::exception& error) {
        outcome.first = error.what();
    }
    return outcome;
}

void ExpectSolverMatchesOracle(const TSquareMatrix& A, int n, std::vector<double> shifts,
                               std::vector<int> ranks) {
    SCOPED_TRACE(testing::Message() << "n = " << n);
    // V prefilled, so that entries beyond n, and all of V after a failure, must stay as they were.
    const auto vector = [&](auto solve, double x) {
        TSeries v;
        std::ranges::fill(v.Slice(0, SeriesCapacity), -7.0);
        return std::pair{Outcome([&] { return (solve(A, n, v, x), 0); }).first, v};
    };
    for (double x : shifts) {
        EXPECT_EQ(Outcome([&] { return CountEigenvaluesBelow(A, n, x); }),
                  Outcome([&] { return oracle::CountEigenvaluesBelow(A, n, x); }))
            << "x = " << x;
        EXPECT_TRUE(vector(EigenvectorFor, x) == vector(oracle::EigenvectorFor, x)) << "x = " << x;
    }
    for (int k : ranks) {
        EXPECT_EQ(Outcome([&] { return KthEigenvalue(A, k, n); }),
                  Outcome([&] { return oracle::KthEigenvalue(A, k, n); }))
            << "k = " << k;
    }
}

// Zero pivots (small whole entries, or pivot s of blocks with rows 0..s+1 uncoupled) send the
// blocked elimination step by step; then orders out of range, a zero matrix, overflowing sums.
TEST(EngineAgainstOracleTest, SolverByEveryRoute) {
    std::mt19937_64 random(20240611);
    for (int trial = 0; trial < 300; ++trial) {
        const int n = 2 + trial % 19;
        const TSquareMatrix A = RandomSymmetric(random, n, std::uniform_int_distribution(-1, 2));
        ExpectSolverMatchesOracle(A, n, {-1.0, 0.0, 1.0, 0.5}, {1, n});
    }
    for (const int s : {12, 37}) {
        for (const auto& [beside, next] : {std::pair{1.0, 3.0}, {0.0, 3.0}, {0.0, 0.0}}) {
            auto A = RandomSymmetric(random, 45, std::uniform_real_distribution(-1.0, 1.0));
            for (int i = 0; i < s + 2; ++i) {
                std::ranges::fill(A[i].Slice(0, s + 2), 0.0);
                A[i][i] = i == s ? 0.0 : i == s + 1 ? next : 2.0 + i;
            }
            A[s][s + 1] = A[s + 1][s] = beside;
            ExpectSolverMatchesOracle(A, 45, {0.0}, {});
        }
    }
    for (const int n : {0, 2, 3, 102}) {
        for (const TSquareMatrix& A : {MatrixOf({{2, 1}, {1, 2}}), TSquareMatrix{},
                                       MatrixOf({{1e308, 1e308}, {1e308, 1e308}})}) {
            ExpectSolverMatchesOracle(A, n, {0.0, 1.0, 2.0, 2.5, 3.0, -1e308}, {-1, 0, 1, 2, 3});
        }
    }
}

// The fast elimination skips the entries left of the diagonal and bounds them. Step 0 leaves
// -2^944 there in row 1, step 1 scales it by 10^24 into rows 2 and 3, step 2 subtracts c times
// row 2's from row 3's: for c = 1 they cancel while their bound overflows, a fault flag after which
// the checked elimination answers and the caller's flags are as they were; for c = -1 they
// overflow, which the bound must not miss. Columns 0 and 1 exchanged take the steps one at a time.
TEST(EngineAgainstOracleTest, EntriesLeftOfTheDiagonal) {
    for (const double c : {1.0, -1.0}) {
        for (const TSquareMatrix& A :
             {MatrixOf({{49, 0, 0, 0}, {1.1e300, 1, 0, 0}, {0, 1e24, 1, 0}, {0, 1e24, c, 1}}),
              MatrixOf({{0, 49, 0, 0}, {1, 1.1e300, 0, 0}, {1e24, 0, 1, 0}, {1e24, 0, c, 1}})}) {
            std::feclearexcept(TFloatFaultWatch::FaultFlags);
            std::feraiseexcept(FE_INVALID);
            EXPECT_EQ(Outcome([&] { return CountEigenvaluesBelow(A, 4, 0.0); }).first,
                      c > 0 ? "" : "Floating point overflow");
            EXPECT_TRUE(c < 0 || std::fetestexcept(TFloatFaultWatch::FaultFlags) == FE_INVALID);
            ExpectSolverMatchesOracle(A, 4, {0.0}, {});
        }
    }
}

// Component r against the oracle's run, which works out all R at once; where the wave succeeds,
// the checked computation that runs after a fault flag gives the same points.
void ExpectWaveMatchesOracle(const TSeries& series, int N, int L, int R, int r,
                             const std::string& error = "") {
    const auto literal = Outcome([&] { return oracle::WaveComponents(series, N, L, R)[r]; });
    EXPECT_TRUE(Outcome([&] { return WaveComponent(series, N, L, R, r); }) == literal)
        << "N = " << N << ", L = " << L << ", R = " << R << ", r = " << r;
    EXPECT_EQ(literal.first, error);
    EXPECT_TRUE(!error.empty() ||
                Outcome([&] { return WaveComponentChecked(series, N, L, R, r); }) == literal);
}

// Price walks at the program's sizes and the extremes; one lagged vector (N = L), a constant
// series, zero covariances, more lags than lagged vectors. In the last series S = diag(40, 256):
// only the second component's bisection counts at 40, a lasting zero pivot.
TEST(EngineAgainstOracleTest, WavesAndTheirErrors) {
    std::mt19937_64 random(1100);
    const std::array<int, 3> walks[] = {{1000, 101, 5}, {500, 39, 5}, {500, 16, 5}, {70, 50, 5},
                                        {300, 2, 5},    {37, 12, 10}, {40, 40, 5}};
    for (const auto& [N, L, R] : walks) {
        const TSeries series = PriceWalk(random, N);
        ExpectWaveMatchesOracle(series, N, L, R, 0);
        ExpectWaveMatchesOracle(series, N, L, R, R - 1);
    }
    TSeries zeros, ones, otherFails;
    std::ranges::fill(ones.Slice(0, 10), 1.0);
    std::ranges::copy(std::array{3, 0, 5, 0, 2, 0, 1, 0, 1, 0, 15},
                      otherFails.Slice(0, 11).begin());
    ExpectWaveMatchesOracle(ones, 10, 7, 5, 0);
    ExpectWaveMatchesOracle(zeros, 50, 2, 5, 0, "Invalid floating point operation");
    ExpectWaveMatchesOracle(ones, 3, 5, 5, 0, "Invalid floating point operation");
    const std::array<int, 4> beyondCapacities[] = {{10, 0, 5, 0},    {1001, 3, 5, 0},
                                                   {500, 102, 5, 0}, {10, 3, 11, 0},
                                                   {10, 3, 5, 10},   {10, 3, 5, -1}};
    for (const auto& [N, L, R, r] : beyondCapacities) {
        ExpectWaveMatchesOracle(ones, N, L, R, r, "Range check error");
    }
    ExpectWaveMatchesOracle(otherFails, 11, 2, 2, 0, "Floating point division by zero");
    ExpectWaveMatchesOracle(otherFails, 11, 2, 1, 0);
}

// Properties that need no second implementation. The bisection ends on a bracket no wider than
// tol = M / 10^7 (M the largest row sum): each eigenvalue is within tol / 2, and their sum within
// n * tol / 2 of the trace. A = H D H, with D = diag(n + 1, ..., 2n), H = I - 2 u u' and
// u = (1, ..., 1) / sqrt(n), has eigenvalues 1 apart inside (0, M] and eigenvectors whose last
// entries are 2 / n or more (n >= 4). Solved with that entry fixed, an eigenvector has a residual
// of at most the eigenvalue's error over the entry, n * tol / 4, and leans to another by that over
// their gap of 1: two are orthogonal within twice that. Its length is 1 up to n-term roundings.
// Orders no power of two keep exact zero pivots, which spoil a count, off the bisection's points.
// With one lag the eigenvector is exactly (1): the wave is the series.
TEST(EnginePropertyTest, EigenpairsWithinTheToleranceAndTheOneLagWave) {
    std::mt19937_64 random(31);
    const TSeries walk = PriceWalk(random, 1000);
    EXPECT_TRUE(WaveComponent(walk, 1000, 1, 5, 0) == walk);
    for (const int n : {5, 9, 40, 101}) {
        TSquareMatrix A;
        double M = 0.0, sum = 0.0;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                A[i][j] = (i == j ? n + 1.0 + i : 0.0) + 2.0 * (n - 1 - i - j) / n;
            }
            M = std::max(M, std::accumulate(&A[i][0], &A[i][n - 1] + 1, 0.0));
        }
        const double tol = M / 1e7;
        const auto dot = [n](const auto& a, const auto& b) {
            return std::inner_product(&a[0], &a[n - 1] + 1, &b[0], 0.0);
        };
        std::vector<TSeries> v(n);
        for (int k = 0; k < n; ++k) {
            const double lambda = KthEigenvalue(A, k + 1, n);
            EigenvectorFor(A, n, v[k], lambda);
            sum += lambda - A[k][k];
            double residual = 0.0, lean = 0.0;
            for (int j = 0; j < n; ++j) {
                residual = std::hypot(residual, dot(A[j], v[k]) - lambda * v[k][j]);
                lean = std::max(lean, j < k ? std::abs(dot(v[j], v[k])) : 0.0);
            }
            EXPECT_TRUE(std::abs(dot(v[k], v[k]) - 1.0) <= 4 * n * 0x1p-52 && v[k][n - 1] > 0.0 &&
                        residual <= n * tol / 4 && lean <= n * tol / 2)
                << n << " " << k << ": " << dot(v[k], v[k]) << " " << residual << " " << lean;
        }
        EXPECT_NEAR(sum, 0.0, n * tol / 2) << "eigenvalues less the trace, n = " << n;
    }
}

// At lambda = 2 the zero first pivot exchanges columns 0 and 1; only with that undone is the
// solved (-1, 0, 1) / sqrt(2) an eigenvector. Exchanges sharing a column are undone last first:
// at lambda = 0 the unsymmetric block below exchanges 0/1, then 1/2, and the solved (0, 0, 1)
// becomes (1, 0, 0), not (0, 1, 0).
TEST(EigenSolverRegressionTest, ColumnExchangesUndoneLastFirstAndASubnormalBound) {
    TSeries v;
    EigenvectorFor(MatrixOf({{2, 1, 0}, {1, 2, 1}, {0, 1, 2}}), 3, v, 2.0);
    EXPECT_EQ((std::array{v[0], v[1], v[2]}),
              (std::array{-1 / std::sqrt(2), 0.0, 1 / std::sqrt(2)}));
    EigenvectorFor(MatrixOf({{0, 1, 0}, {0, 0, 1}, {0, 2, 3}}), 3, v, 0.0);
    EXPECT_EQ((std::array{v[0], v[1], v[2]}), (std::array{1.0, 0.0, 0.0}));
    // A subnormal largest row sum made the tolerance zero and the bisection never ended.
    const double found = KthEigenvalue(MatrixOf({{1e-320}}), 1, 1);
    EXPECT_TRUE(found >= 0.0 && found <= 1e-319) << found;
}

// The run's batch of requests is checked against single components in the bars tests; here a
// failing batch raises its earliest failing request's error and writes no result.
TEST(WaveComponentsTest, AFailingBatchRaisesTheFirstErrorAndWritesNothing) {
    std::mt19937_64 random(8);
    const TSeries closes = PriceWalk(random, 8), zeros;
    const TWaveRequest failing[] = {
        {&closes, 8, 3, 5, 0}, {&zeros, 8, 2, 5, 0}, {&closes, 8, 0, 5, 1}, {&closes, 8, 2, 5, 1}};
    std::array<TSeries, 4> results{closes};
    EXPECT_EQ(Outcome([&] { return (WaveComponents(failing, results), 0); }).first,
              "Invalid floating point operation");
    EXPECT_TRUE(results[0] == closes);
}

} // namespace
} // namespace quillon
