#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "LiteralEngine.h"
#include "engine/CheckedWave.h"
#include "engine/EigenSolver.h"
#include "engine/FastElimination.h"
#include "engine/FloatFaultFlags.h"
#include "engine/ShiftedElimination.h"
#include "engine/WaveBatch.h"
#include "engine/WaveComponent.h"

namespace quillon {
namespace {

using Uniform = std::uniform_real_distribution<double>;

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

std::vector<double> Points(const TSeries& series, int N) {
    const auto first = series.Slice(0, std::clamp(N, 0, SeriesCapacity));
    return {first.begin(), first.end()};
}

// A call's message ("" when it returns) and result. Every route of the engine rounds as the
// oracle does, so results are compared to the bit.
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

// V prefilled, so that entries beyond n, and all of V after a failure, must stay as they were.
template <typename Solve>
std::pair<std::string, TSeries> VectorBy(Solve&& solve, const TSquareMatrix& A, int n, double x) {
    TSeries v;
    std::ranges::fill(v.Slice(0, SeriesCapacity), -7.0);
    return {Outcome([&] { return (solve(A, n, v, x), 0); }).first, v};
}

void ExpectSolverMatchesOracle(const TSquareMatrix& A, int n, std::vector<double> shifts,
                               std::vector<int> ranks) {
    SCOPED_TRACE(testing::Message() << "n = " << n);
    for (double x : shifts) {
        EXPECT_EQ(Outcome([&] { return CountEigenvaluesBelow(A, n, x); }),
                  Outcome([&] { return oracle::CountEigenvaluesBelow(A, n, x); }))
            << "x = " << x;
        EXPECT_TRUE(VectorBy(EigenvectorFor, A, n, x) == VectorBy(oracle::EigenvectorFor, A, n, x))
            << "eigenvector, x = " << x;
    }
    for (int k : ranks) {
        EXPECT_EQ(Outcome([&] { return KthEigenvalue(A, k, n); }),
                  Outcome([&] { return oracle::KthEigenvalue(A, k, n); }))
            << "k = " << k;
    }
}

// The blocked elimination around its panels of eight; zero pivots (small whole entries, or pivot s
// of blocks with rows 0..s+1 uncoupled) send it step by step; then the design's edge cases.
TEST(EngineAgainstOracleTest, SolverByEveryRoute) {
    std::mt19937_64 random(20240611);
    for (int n : {1, 2, 3, 5, 8, 17, 40, 101}) {
        ExpectSolverMatchesOracle(RandomSymmetric(random, n, Uniform(-1, 2)), n, {n / 3.0, 0.0},
                                  {0, 1, n / 2 + 1, n + 1});
    }
    for (int trial = 0; trial < 300; ++trial) {
        const int n = 2 + trial % 19;
        const TSquareMatrix A = RandomSymmetric(random, n, std::uniform_int_distribution(-1, 2));
        ExpectSolverMatchesOracle(A, n, {-1.0, 0.0, 1.0, 0.5}, {1, n});
    }
    for (const int s : {12, 37}) {
        for (const auto& [beside, next] : {std::pair{1.0, 3.0}, {0.0, 3.0}, {0.0, 0.0}}) {
            TSquareMatrix A = RandomSymmetric(random, 45, Uniform(-1, 1));
            for (int i = 0; i < s + 2; ++i) {
                std::ranges::fill(A[i].Slice(0, s + 2), 0.0);
                A[i][i] = i == s ? 0.0 : i == s + 1 ? next : 2.0 + i;
            }
            A[s][s + 1] = A[s + 1][s] = beside;
            ExpectSolverMatchesOracle(A, 45, {0.0}, {});
        }
    }
    const TSquareMatrix edges[] = {MatrixOf({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}),
                                   MatrixOf({{2, 1}, {1, 2}}),
                                   MatrixOf({{0, 1}, {1, 0}}),
                                   MatrixOf({{-1, 0}, {0, -1}}),
                                   TSquareMatrix{},
                                   MatrixOf({{1e308, 1e308}, {1e308, 1e308}})};
    for (const int n : {0, 2, 3, 102}) {
        for (const TSquareMatrix& A : edges) {
            ExpectSolverMatchesOracle(A, n, {0.0, 1.0, 2.0, 2.5, 3.0, -1e308}, {-1, 0, 1, 2, 3});
        }
    }
}

// The fast elimination skips the entries left of the diagonal and keeps a bound on them. Step 0
// leaves -2^944 there in row 1, step 1 scales it by 10^24 into rows 2 and 3, and step 2 subtracts
// c times row 2's from row 3's: with c = 1 they cancel while their bound overflows, and the
// checked elimination that runs after the flag gives the answer; with c = -1 they overflow, which
// the bound must not miss. Columns 0 and 1 exchanged send the same steps one at a time after a
// zero pivot. The engine watches its thread's floating-point flags; the caller's are as it left
// them after a call that returned.
TEST(EngineAgainstOracleTest, EntriesLeftOfTheDiagonal) {
    const int faults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
    for (const double c : {1.0, -1.0}) {
        for (const TSquareMatrix& A :
             {MatrixOf({{49, 0, 0, 0}, {1.1e300, 1, 0, 0}, {0, 1e24, 1, 0}, {0, 1e24, c, 1}}),
              MatrixOf({{0, 49, 0, 0}, {1, 1.1e300, 0, 0}, {1e24, 0, 1, 0}, {1e24, 0, c, 1}})}) {
            const TFloatFaultWatch watch;
            TShiftedElimination fast;
            EliminateFast(A, 4, 0.0, fast);
            EXPECT_TRUE(watch.FaultSeen());
            std::feclearexcept(faults);
            std::feraiseexcept(FE_INVALID);
            EXPECT_EQ(Outcome([&] { return CountEigenvaluesBelow(A, 4, 0.0); }).first,
                      c > 0 ? "" : "Floating point overflow");
            EXPECT_TRUE(c < 0 || std::fetestexcept(faults) == FE_INVALID);
            ExpectSolverMatchesOracle(A, 4, {0.0}, {});
        }
    }
}

// Component r against the oracle's run, which works out all R at once; where the wave succeeds,
// the checked computation that runs after a fault flag gives the same points.
void ExpectWaveMatchesOracle(const TSeries& series, int N, int L, int R, int r,
                             const std::string& error = "") {
    const auto literal =
        Outcome([&] { return Points(oracle::WaveComponents(series, N, L, R)[r], N); });
    EXPECT_EQ(Outcome([&] { return Points(WaveComponent(series, N, L, R, r), N); }), literal)
        << "N = " << N << ", L = " << L << ", R = " << R << ", r = " << r;
    EXPECT_EQ(literal.first, error);
    if (error.empty()) {
        EXPECT_EQ(Outcome([&] { return Points(WaveComponentChecked(series, N, L, R, r), N); }),
                  literal);
    }
}

// Price walks at the program's sizes and the extremes, and the design's cases: one lagged vector
// (N = L), a constant series, more lags than lagged vectors. Zero covariances fail unless one lag
// spares the eigenvector its elimination. In the last series S = diag(40, 256): only the second
// component's bisection counts at 40, a lasting zero pivot.
TEST(EngineAgainstOracleTest, WavesAndTheirErrors) {
    std::mt19937_64 random(1100);
    const std::array<int, 3> walks[] = {{1000, 101, 5}, {500, 39, 5}, {500, 16, 5}, {70, 50, 5},
                                        {300, 2, 5},    {37, 12, 10}, {40, 40, 5}};
    for (const auto& [N, L, R] : walks) {
        const TSeries series = PriceWalk(random, N);
        ExpectWaveMatchesOracle(series, N, L, R, 0);
        ExpectWaveMatchesOracle(series, N, L, R, R - 1);
    }
    TSeries zeros, ones, huge, otherFails;
    std::ranges::fill(ones.Slice(0, 10), 1.0);
    std::ranges::fill(huge.Slice(0, 20), 1e200);
    std::ranges::copy(std::array{3, 0, 5, 0, 2, 0, 1, 0, 1, 0, 15},
                      otherFails.Slice(0, 11).begin());
    const std::string invalid = "Invalid floating point operation", range = "Range check error";
    const std::tuple<const TSeries&, int, int, int, int, std::string> cases[] = {
        {ones, 10, 7, 5, 0, ""},
        {zeros, 50, 2, 5, 0, invalid},
        {zeros, 8, 1, 5, 0, ""},
        {ones, 3, 5, 5, 0, invalid},
        {ones, 10, 0, 5, 0, range},
        {ones, 1001, 3, 5, 0, range},
        {ones, 500, 102, 5, 0, range},
        {ones, 10, 3, 11, 0, range},
        {ones, 10, 3, 5, 10, range},
        {ones, 10, 3, 5, -1, range},
        {huge, 20, 3, 5, 0, "Floating point overflow"},
        {otherFails, 11, 2, 2, 0, "Floating point division by zero"},
        {otherFails, 11, 2, 1, 0, ""}};
    for (const auto& [series, N, L, R, r, error] : cases) {
        ExpectWaveMatchesOracle(series, N, L, R, r, error);
    }
}

// Properties that need no second implementation, within what the bisection promises: it stops on
// a bracket no wider than tol = M / 10^7 (M the largest row sum) and returns its midpoint, within
// tol / 2 of the eigenvalue. A = H D H, with D = diag(n + 1, ..., 2n) and H the reflection in a
// vector of random signs over sqrt(n), has its eigenvalues 1 apart inside (0, M], and for n >= 4
// its eigenvectors' last entries are 2 / n or more. An eigenvector solved with its last entry
// fixed errs by the eigenvalue's error over the gap divided by that entry, n * tol / 4 at most;
// its residual too, and two of them are orthogonal within twice that. Orders that are no powers
// of two keep the entries off the bisection's points, where a zero pivot would spoil the count.
// With one lag the only eigenvector is exactly (1), so the wave is the series itself.
TEST(EnginePropertyTest, EigenpairsWithinTheToleranceAndTheOneLagWave) {
    std::mt19937_64 random(31);
    for (const int N : {1, 2, 1000}) {
        const TSeries series = PriceWalk(random, N);
        EXPECT_EQ(Points(WaveComponent(series, N, 1, 5, 0), N), Points(series, N)) << N;
    }
    for (const int n : {5, 9, 40, 101}) {
        std::vector<double> sign(n), lambda(n);
        std::ranges::generate(sign, [&] { return random() % 2 ? 1.0 : -1.0; });
        TSquareMatrix A;
        double trace = 0.0, M = 0.0;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                A[i][j] =
                    (i == j ? n + 1.0 + i : 0.0) + sign[i] * sign[j] * 2.0 * (n - 1 - i - j) / n;
            }
            trace += A[i][i];
            M = std::max(M, std::accumulate(&A[i][0], &A[i][n - 1] + 1, 0.0));
        }
        const double tol = M / 1e7;
        const auto dot = [n](const auto& a, const auto& b) {
            return std::inner_product(&a[0], &a[n - 1] + 1, &b[0], 0.0);
        };
        std::vector<TSeries> v(n);
        for (int k = 0; k < n; ++k) {
            lambda[k] = KthEigenvalue(A, k + 1, n);
            EigenvectorFor(A, n, v[k], lambda[k]);
        }
        EXPECT_NEAR(std::reduce(lambda.begin(), lambda.end()), trace, n * tol / 2) << n;
        for (int k = 0; k < n; ++k) {
            double residual = 0.0;
            for (int j = 0; j < n; ++j) {
                residual = std::hypot(residual, dot(A[j], v[k]) - lambda[k] * v[k][j]);
            }
            EXPECT_TRUE(std::abs(dot(v[k], v[k]) - 1.0) <= 4 * n * 0x1p-52 && v[k][n - 1] > 0.0 &&
                        residual <= n * tol / 4)
                << n << " " << k << ": " << dot(v[k], v[k]) << " " << v[k][n - 1] << " "
                << residual;
            for (int j = 0; j < k; ++j) {
                EXPECT_LE(std::abs(dot(v[j], v[k])), n * tol / 2) << n << " " << j << " " << k;
            }
        }
    }
}

// At lambda = 2 the first pivot is zero, so columns 0 and 1 change places; only with the exchange
// undone is the solved vector (-1, 0, 1) / sqrt(2) an eigenvector. Exchanges sharing a column are
// undone last first: at lambda = 0 the unsymmetric block below exchanges 0/1 and then 1/2, and
// the back-substitution's (0, 0, 1) becomes (1, 0, 0), not (0, 1, 0).
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
    TSeries closes, zeros;
    std::ranges::fill(closes.Slice(0, 8), 1.1);
    closes[3] = 1.2;
    const TWaveRequest failing[] = {
        {&closes, 8, 3, 5, 0}, {&zeros, 8, 2, 5, 0}, {&closes, 8, 0, 5, 1}, {&closes, 8, 2, 5, 1}};
    std::array<TSeries, 4> results;
    results[0][0] = 42.0;
    EXPECT_EQ(Outcome([&] { return (WaveComponents(failing, results), 0); }).first,
              "Invalid floating point operation");
    EXPECT_EQ(results[0][0], 42.0);
}

} // namespace
} // namespace quillon