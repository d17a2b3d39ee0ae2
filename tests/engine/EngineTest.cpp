#include <algorithm>
#include <array>
#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
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
#include "engine/NewestWaveValues.h"
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

// What anyone reads of an elimination: the diagonal and what lies right of it, to the bit, and the
// column exchanges.
std::vector<std::uint64_t> ReadPart(const TShiftedElimination& e, int n) {
    std::vector<std::uint64_t> bits;
    for (int i = 0; i < n; ++i) {
        for (int j = i; j < n; ++j) {
            bits.push_back(std::bit_cast<std::uint64_t>(e.B[i][j]));
        }
    }
    for (int k = 0; k < e.exchangeCount; ++k) {
        bits.push_back(static_cast<std::uint64_t>(e.exchangedSteps[k]));
    }
    return bits;
}

// The fast elimination against the checked one at every order, on lag covariances of price walks
// at shifts below, among and above their eigenvalues, and on whole-number matrices whose zero
// pivots send it step by step. The fast one starts on storage that holds the last elimination's
// entries, and the matrix holds infinities beyond the order: neither may show, and no fault flag
// is raised.
TEST(EngineAgainstOracleTest, FastEliminationAtEveryOrder) {
    std::mt19937_64 random(4711);
    const auto fast = std::make_unique<TShiftedElimination>();
    const auto checked = std::make_unique<TShiftedElimination>();
    for (int n = 1; n <= MatrixOrderCapacity; ++n) {
        SCOPED_TRACE(testing::Message() << "n = " << n);
        const TSeries walk = PriceWalk(random, 2 * n + 20);
        TSquareMatrix S;
        for (int i = 0; i < MatrixOrderCapacity; ++i) {
            for (int j = 0; j < MatrixOrderCapacity; ++j) {
                double sum = 0.0;
                for (int t = 0; i < n && j < n && t < n + 21; ++t) {
                    sum = sum + walk[t + i] * walk[t + j];
                }
                S[i][j] = i < n && j < n ? sum : std::numeric_limits<double>::infinity();
            }
        }
        const TSquareMatrix whole =
            RandomSymmetric(random, n, std::uniform_int_distribution(-1, 2));
        double trace = 0.0;
        for (int i = 0; i < n; ++i) {
            trace = trace + S[i][i];
        }
        for (const double x : {0.0, trace * 1e-9, trace * 1e-5, trace / n, trace * 0.9, trace}) {
            std::feclearexcept(TFloatFaultWatch::FaultFlags);
            EliminateFast(S, n, x, *fast);
            EXPECT_EQ(std::fetestexcept(TFloatFaultWatch::FaultFlags), 0) << x;
            EliminateChecked(S, n, x, *checked);
            EXPECT_TRUE(ReadPart(*fast, n) == ReadPart(*checked, n)) << x;
        }
        for (const double x : {0.0, 1.0, 0.5}) {
            EliminateFast(whole, n, x, *fast);
            const std::string error =
                Outcome([&] { return (EliminateChecked(whole, n, x, *checked), 0); }).first;
            EXPECT_TRUE(!error.empty() || ReadPart(*fast, n) == ReadPart(*checked, n)) << x;
        }
    }
    std::feclearexcept(TFloatFaultWatch::FaultFlags);
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

// Closes of a random walk from 1.1 as PriceWalk's, as many as asked for.
std::vector<double> LongPriceWalk(std::mt19937_64& random, int count) {
    std::normal_distribution<double> step(0.0, 0.0004);
    std::vector<double> points;
    double price = 1.1;
    for (int i = 0; i < count; ++i) {
        price = std::round((price + step(random)) * 1e5) / 1e5;
        points.push_back(price);
    }
    return points;
}

// Entries N-3 and N-2 of the WaveComponent call on window `end` of points, or that it raises.
TNewestWaveValues NewestOfTheCall(const std::vector<double>& points, int N, int L, int R, int r,
                                  int end) {
    TSeries window;
    std::copy(points.begin() + (end - N + 1), points.begin() + (end + 1),
              window.Slice(0, N).begin());
    TNewestWaveValues values;
    try {
        const TSeries wave = WaveComponent(window, N, L, R, r);
        if (N >= 3) {
            values = {wave[N - 3], wave[N - 2], false};
        }
    } catch (const QuillonError&) {
        values.failed = true;
    }
    return values;
}

bool SameBits(const TNewestWaveValues& a, const TNewestWaveValues& b) {
    return std::bit_cast<std::uint64_t>(a.beforeLast) ==
               std::bit_cast<std::uint64_t>(b.beforeLast) &&
           std::bit_cast<std::uint64_t>(a.last) == std::bit_cast<std::uint64_t>(b.last) &&
           a.failed == b.failed;
}

// NewestWaveValues over ends against a WaveComponent call per window, to the bit; returns how many
// windows failed. The caller's fault flags are left as they were.
int ExpectNewestAsTheCalls(const std::vector<double>& points, int N, int L, int R, int r,
                           const std::vector<int>& ends) {
    std::vector<TNewestWaveValues> out(ends.size());
    std::feclearexcept(TFloatFaultWatch::FaultFlags);
    std::feraiseexcept(FE_INVALID);
    NewestWaveValues(points, N, L, R, r, ends, out);
    EXPECT_EQ(std::fetestexcept(TFloatFaultWatch::FaultFlags), FE_INVALID);
    std::feclearexcept(TFloatFaultWatch::FaultFlags);
    int failed = 0;
    for (std::size_t k = 0; k < ends.size(); ++k) {
        const TNewestWaveValues call = NewestOfTheCall(points, N, L, R, r, ends[k]);
        EXPECT_TRUE(SameBits(out[k], call))
            << "N = " << N << ", L = " << L << ", R = " << R << ", r = " << r
            << ", end = " << ends[k] << ": " << out[k].beforeLast << " " << out[k].last << " "
            << out[k].failed << " against " << call.beforeLast << " " << call.last << " "
            << call.failed;
        failed += call.failed ? 1 : 0;
    }
    return failed;
}

std::vector<int> Ends(int from, int to) {
    std::vector<int> ends;
    for (int end = from; end <= to; ++end) {
        ends.push_back(end);
    }
    return ends;
}

// Consecutive windows of a price walk, as the marks at close take them, at the program's sizes,
// with L close to N (down to one lagged vector), N below 3, and the lags of a longer window than
// the series holds; ends that repeat, skip a few or many, and go back.
TEST(NewestWaveValuesTest, ConsecutiveWindowsAsTheirCalls) {
    std::mt19937_64 random(1900);
    const std::vector<double> walk = LongPriceWalk(random, 1300);
    const std::array<int, 4> sizes[] = {
        {500, 39, 5, 0}, {500, 16, 5, 0}, {1000, 101, 5, 0}, {300, 2, 5, 0}, {60, 58, 5, 0},
        {40, 39, 5, 0},  {40, 40, 5, 0},  {37, 12, 10, 9},   {12, 7, 1, 0},  {3, 2, 1, 0},
        {2, 1, 1, 0},    {1, 1, 1, 0},    {20, 21, 5, 0},    {20, 5, 11, 0}};
    for (const auto& [N, L, R, r] : sizes) {
        std::vector<int> ends = Ends(N - 1, std::min(N + 120, 1299));
        for (const int end :
             {N + 120, N + 123, N + 123, N + 130, N + 190, N + 191, N + 50, N + 51}) {
            ends.push_back(std::min(end, 1299));
        }
        EXPECT_EQ(ExpectNewestAsTheCalls(walk, N, L, R, r, ends),
                  N < L || R > 10 ? ends.size() : 0u)
            << N << " " << L;
    }
}

// Windows that fail among good ones, in a row: a close of 1e200, whose square overflows in the
// covariance (and the sums that take it in leave the covariance only L windows later); one of
// 1.2e154, whose square does not but ten times the largest row sum does, in the bisection; a run
// of zeros, whose windows of zeros alone fail with an invalid operation; an infinite close, whose
// products raise no fault flag.
TEST(NewestWaveValuesTest, FailingWindowsAmongGoodOnes) {
    std::mt19937_64 random(77);
    std::vector<double> walk = LongPriceWalk(random, 1400);
    walk[300] = 1e200;
    walk[700] = 1.2e154;
    std::fill(walk.begin() + 1000, walk.begin() + 1120, 0.0);
    walk[1300] = std::numeric_limits<double>::infinity();
    for (const auto& [N, L] : {std::pair{100, 39}, {100, 16}, {60, 58}, {100, 7}}) {
        // The windows that take in line 300, 700 or 1300, and those of zeros alone.
        EXPECT_EQ(ExpectNewestAsTheCalls(walk, N, L, 5, 0, Ends(N - 1, 1399)),
                  3 * N + (120 - N + 1))
            << N << " " << L;
    }
}

// The range error for an end outside the points, for out shorter than the ends, and for N beyond
// any window WaveComponent takes; nothing written.
TEST(NewestWaveValuesTest, EndsOutOfRange) {
    std::mt19937_64 random(5);
    const std::vector<double> walk = LongPriceWalk(random, 1200);
    std::vector<TNewestWaveValues> out(2, TNewestWaveValues{1.0, 2.0, true});
    const auto message = [&](int N, std::vector<int> ends, std::size_t outSize) {
        return Outcome([&] {
                   NewestWaveValues(walk, N, 5, 5, 0, ends, std::span(out).first(outSize));
                   return 0;
               })
            .first;
    };
    EXPECT_EQ(message(10, {9, 1200}, 2), "Range check error");
    EXPECT_EQ(message(10, {9, 8}, 2), "Range check error");
    EXPECT_EQ(message(10, {9, 10}, 1), "Range check error");
    EXPECT_EQ(message(1001, {1100}, 1), "Range check error");
    EXPECT_EQ(message(0, {100}, 1), "Range check error");
    EXPECT_TRUE(out[0] == (TNewestWaveValues{1.0, 2.0, true}));
    EXPECT_EQ(message(10, {9, 10}, 2), "");
}

} // namespace
} // namespace quillon
