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
    const auto edges = [](const TSquareMatrix& A, int n) {
        ExpectSolverMatchesOracle(A, n, {0.0, 1.0, 2.0, 2.5, 3.0, -1e308}, {-1, 0, 1, 2, 3});
    };
    edges(MatrixOf({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}), 3);
    for (const int n : {0, 2, 102}) {
        edges(MatrixOf({{2, 1}, {1, 2}}), n);
    }
    edges(MatrixOf({{0, 1}, {1, 0}}), 2);
    edges(MatrixOf({{-1, 0}, {0, -1}}), 2);
    edges(TSquareMatrix{}, 2);
    edges(MatrixOf({{1e308, 1e308}, {1e308, 1e308}}), 2);
}

// The fast elimination skips the entries left of the diagonal and bounds them. In the first block
// those entries overflow (a residue of 1e284 scaled by 1e30); in the second they cancel while
// their bound overflows, and the checked elimination that runs after the flag gives the answer.
// The engine watches its thread's floating-point flags; the caller's flags are as it left them
// afterwards, raised or not, whether the call returned or failed.
TEST(EngineAgainstOracleTest, CheckedEliminationAfterAFaultFlag) {
    const TSquareMatrix overflow = MatrixOf({{49, 0, 0}, {1.1e300, 1, 0}, {0, 1e30, 1}});
    const TSquareMatrix A =
        MatrixOf({{-0x1.4p+407, -0x1p+747, 0x1.8p+581, -0x1p+210, 0x1.4p+335},
                  {0x1.8p+118, -0x1p+426, 0x1p+163, -0x1p+99, 0},
                  {0x1p+579, 0x1.4p+587, 0x1.8p+622, 0x1.4p+563, 0x1.8p+481},
                  {0x1p+640, -0x1p+482, 0x1.cp+335, -0x1p+462, 0x1.4p+911},
                  {-0x1p+209, 0x1.cp+341, -0x1p+809, -0x1.cp+731, -0x1.cp+272}});
    const int faults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
    std::feclearexcept(faults);
    std::feraiseexcept(FE_INVALID);
    const TSquareMatrix diagonal = MatrixOf({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}});
    EXPECT_EQ(Outcome([&] { return CountEigenvaluesBelow(diagonal, 3, 2.0); }).first,
              "Floating point division by zero");
    EXPECT_EQ(Outcome([&] { return CountEigenvaluesBelow(A, 5, 0.0); }).first, "");
    EXPECT_EQ(std::fetestexcept(faults), FE_INVALID);
    std::feclearexcept(faults);
    TShiftedElimination fast;
    const TFloatFaultWatch watch;
    EliminateFast(A, 5, 0.0, fast);
    ASSERT_TRUE(watch.FaultSeen());
    EXPECT_EQ(Outcome([&] { return CountEigenvaluesBelow(overflow, 3, 0.0); }).first,
              "Floating point overflow");
    ExpectSolverMatchesOracle(overflow, 3, {0.0}, {});
    ExpectSolverMatchesOracle(A, 5, {0.0}, {});
}

// Component r against the oracle's run, which works out all R at once; where the wave succeeds,
// the checked computation that runs after a fault flag gives the same points.
void ExpectWaveMatchesOracle(const TSeries& series, int N, int L, int R, int r,
                             const std::string& error = "") {
    const auto points = [N](const TSeries& wave) {
        const auto first = wave.Slice(0, std::clamp(N, 0, SeriesCapacity));
        return std::vector<double>(first.begin(), first.end());
    };
    const auto literal =
        Outcome([&] { return points(oracle::WaveComponents(series, N, L, R)[r]); });
    EXPECT_EQ(Outcome([&] { return points(WaveComponent(series, N, L, R, r)); }), literal)
        << "N = " << N << ", L = " << L << ", R = " << R << ", r = " << r;
    EXPECT_EQ(literal.first, error);
    if (error.empty()) {
        EXPECT_EQ(Outcome([&] { return points(WaveComponentChecked(series, N, L, R, r)); }),
                  literal);
    }
}

// Price walks at the program's sizes and the extremes, and the design's cases: one lag, one lagged
// vector (N = L), a constant series, more lags than lagged vectors.
TEST(EngineAgainstOracleTest, WavesAndTheirErrors) {
    std::mt19937_64 random(1100);
    std::normal_distribution<double> step(0.0, 0.0004);
    TSeries series;
    const std::array<int, 3> walks[] = {{1000, 101, 5}, {500, 39, 5}, {500, 16, 5}, {70, 50, 5},
                                        {1000, 1, 2},   {300, 2, 5},  {37, 12, 10}, {40, 40, 5}};
    for (const auto& [N, L, R] : walks) {
        for (int i = 0; i < N; ++i) {
            series[i] = std::round(((i > 0 ? series[i - 1] : 1.1) + step(random)) * 1e5) / 1e5;
        }
        ExpectWaveMatchesOracle(series, N, L, R, 0);
        ExpectWaveMatchesOracle(series, N, L, R, R - 1);
    }
    std::ranges::fill(series.Slice(0, 10), 1.1);
    ExpectWaveMatchesOracle(series, 10, 7, 5, 0);

    // Zero covariances fail unless one lag spares the eigenvector its elimination. In the last
    // series S = diag(40, 256): only the second component's bisection counts at 40, a lasting zero
    // pivot.
    TSeries zeros, ones, huge, otherFails;
    std::ranges::fill(ones.Slice(0, 10), 1.0);
    std::ranges::fill(huge.Slice(0, 20), 1e200);
    std::ranges::copy(std::array{3, 0, 5, 0, 2, 0, 1, 0, 1, 0, 15},
                      otherFails.Slice(0, 11).begin());
    const std::string invalid = "Invalid floating point operation";
    ExpectWaveMatchesOracle(zeros, 50, 2, 5, 0, invalid);
    ExpectWaveMatchesOracle(zeros, 8, 1, 5, 0);
    ExpectWaveMatchesOracle(ones, 3, 5, 5, 0, invalid);
    ExpectWaveMatchesOracle(ones, 0, 2, 5, 0, invalid);
    const std::array<int, 4> beyondCapacities[] = {{10, 0, 5, 0},    {1001, 3, 5, 0},
                                                   {500, 102, 5, 0}, {10, 3, 11, 0},
                                                   {10, 3, 5, 10},   {10, 3, 5, -1}};
    for (const auto& [N, L, R, r] : beyondCapacities) {
        ExpectWaveMatchesOracle(ones, N, L, R, r, "Range check error");
    }
    ExpectWaveMatchesOracle(huge, 20, 3, 5, 0, "Floating point overflow");
    ExpectWaveMatchesOracle(otherFails, 11, 2, 2, 0, "Floating point division by zero");
    ExpectWaveMatchesOracle(otherFails, 11, 2, 1, 0);
}

// For the leading eigenvalues of Gram matrices (all eigenvalues in the bisection's bracket): unit
// length, last entry positive, |S v - lambda v| within the tolerance M / 10^7 grown by elimination.
TEST(EigenvectorForTest, UnitVectorsWithSmallResidualsOnRandomSymmetricMatrices) {
    std::mt19937_64 random(31);
    for (int n = 2; n < 62; ++n) {
        const TSquareMatrix X = RandomSymmetric(random, n + 3, Uniform(-1, 1));
        TSquareMatrix S;
        double M = 0.0;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                S[i][j] = std::inner_product(&X[i][0], &X[i][n + 2] + 1, &X[j][0], 0.0);
            }
            M = std::max(M, std::reduce(S[i].Slice(0, n).begin(), S[i].Slice(0, n).end()));
        }
        for (int k = n; k > std::max(n - 3, 0); --k) {
            TSeries v;
            const double lambda = KthEigenvalue(S, k, n);
            EigenvectorFor(S, n, v, lambda);
            double length = 0.0, residual = 0.0;
            for (int i = 0; i < n; ++i) {
                const double image = std::inner_product(&S[i][0], &S[i][n - 1] + 1, &v[0], 0.0);
                residual = std::max(residual, std::abs(image - lambda * v[i]));
                length += v[i] * v[i];
            }
            EXPECT_TRUE(std::abs(length - 1.0) <= 1e-13 && v[n - 1] > 0.0 && residual <= M * 1e-4)
                << n << " " << k << ": " << length << " " << v[n - 1] << " " << residual;
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
