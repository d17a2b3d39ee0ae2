#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "LiteralEngine.h"
#include "engine/EigenSolver.h"
#include "engine/WaveComponent.h"

namespace quillon {
namespace {

using testing::ErrorOf;
using Uniform = std::uniform_real_distribution<double>;

template <typename Distribution>
TSquareMatrix RandomSymmetric(std::mt19937_64& random, int n, Distribution entry) {
    TSquareMatrix A;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= i; ++j) {
            A[i][j] = A[j][i] = entry(random);
        }
    }
    return A;
}

// Closing prices of a random walk around 1.1, quoted to five decimals.
TSeries PriceWalk(std::mt19937_64& random, int N) {
    std::normal_distribution<double> step(0.0, 0.0004);
    TSeries series;
    double price = 1.1;
    for (int i = 0; i < N; ++i) {
        price += step(random);
        series[i] = std::round(price * 100000.0) / 100000.0;
    }
    return series;
}

// How far a result lies from the oracle's: a number relative to the oracle's (so that a zero
// must be matched exactly), a series entry by entry over its first n points.
double Gap(double value, double literal, int) {
    return value == literal ? 0.0 : std::abs(value - literal) / std::abs(literal);
}

double Gap(const TSeries& value, const TSeries& literal, int n) {
    double worst = 0.0;
    for (int i = 0; i < n; ++i) {
        worst = std::max(worst, std::abs(value[i] - literal[i]));
    }
    return worst;
}

// The engine's call against the oracle's: the same message, and where neither fails, results no
// more than allowed apart. Returns the engine's message.
template <typename Engine, typename Literal>
std::string ExpectMatch(Engine&& engine, Literal&& literal, double allowed, int n = 0) {
    std::optional<decltype(engine())> value;
    std::optional<decltype(literal())> expected;
    const std::string error = ErrorOf([&] { value = engine(); });
    EXPECT_EQ(error, ErrorOf([&] { expected = literal(); }));
    if (value && expected) {
        EXPECT_LE(Gap(*value, *expected, n), allowed);
    }
    return error;
}

template <typename Solve>
TSeries VectorBy(Solve&& solve, const TSquareMatrix& A, int n, double x) {
    TSeries v;
    solve(A, n, v, x);
    return v;
}

// The count and eigenvector at each shift and the eigenvalue of each rank.
void ExpectSolverMatchesOracle(const TSquareMatrix& A, int n, const std::vector<double>& shifts,
                               const std::vector<int>& ranks) {
    for (double x : shifts) {
        SCOPED_TRACE("n = " + std::to_string(n) + ", x = " + std::to_string(x));
        ExpectMatch([&] { return CountEigenvaluesBelow(A, n, x); },
                    [&] { return oracle::CountEigenvaluesBelow(A, n, x); }, 0.0);
        ExpectMatch([&] { return VectorBy(EigenvectorFor, A, n, x); },
                    [&] { return VectorBy(oracle::EigenvectorFor, A, n, x); }, 1e-12, n);
    }
    for (int k : ranks) {
        SCOPED_TRACE("n = " + std::to_string(n) + ", k = " + std::to_string(k));
        ExpectMatch([&] { return KthEigenvalue(A, k, n); },
                    [&] { return oracle::KthEigenvalue(A, k, n); }, 1e-12);
    }
}

// Orders on both sides of the engine's blocks of eight pivot steps, up to the capacity; small
// whole entries hit exact zero pivots, some cured by the column exchange and some not.
TEST(EngineAgainstOracleTest, SolverOnRandomSymmetricMatrices) {
    std::mt19937_64 random(20240611);
    for (int n : {1, 2, 3, 5, 8, 17, 40}) {
        for (const double low : {-1.0, 0.0}) {
            const TSquareMatrix A = RandomSymmetric(random, n, Uniform(low, low + 2.0));
            const double x = n * (low + 2.0);
            ExpectSolverMatchesOracle(A, n, {Uniform(-x, x)(random), Uniform(-x, x)(random), 0.0},
                                      {0, 1, n / 2 + 1, n, n + 1});
        }
    }
    ExpectSolverMatchesOracle(RandomSymmetric(random, 101, Uniform(0.0, 2.0)), 101, {50.0, 100.0},
                              {1, 101});
    for (int trial = 0; trial < 300; ++trial) {
        const int n = 2 + trial % 19;
        const TSquareMatrix A = RandomSymmetric(random, n, std::uniform_int_distribution(-1, 2));
        ExpectSolverMatchesOracle(A, n, {-1.0, 0.0, 1.0, 2.0, 0.5}, {1, n});
    }
}

// Rows 0..step+1 uncoupled, so that pivot `step` is exactly zero, past the first blocks of
// steps the engine takes at once; the later rows are coupled to all. A 1 beside the zero pivot
// lets the exchange cure it; without it, the diagonal entry of row step+1 picks the error.
TSquareMatrix ZeroPivotAt(std::mt19937_64& random, int step, double beside, double next) {
    TSquareMatrix A = RandomSymmetric(random, 45, Uniform(-1.0, 1.0));
    for (int i = 0; i < step + 2; ++i) {
        for (int j = 0; j < step + 2; ++j) {
            A[i][j] = i == j ? 2.0 + i : 0.0;
        }
    }
    A[step][step] = 0.0;
    A[step][step + 1] = A[step + 1][step] = beside;
    A[step + 1][step + 1] = next;
    return A;
}

TEST(EngineAgainstOracleTest, SolverFaultsDeepInTheElimination) {
    std::mt19937_64 random(12);
    std::vector<std::tuple<TSquareMatrix, int, std::string>> cases;
    for (const int step : {3, 12, 37}) {
        cases.emplace_back(ZeroPivotAt(random, step, 1.0, 3.0), 45, "");
        cases.emplace_back(ZeroPivotAt(random, step, 0.0, 3.0), 45,
                           "Floating point division by zero");
        cases.emplace_back(ZeroPivotAt(random, step, 0.0, 0.0), 45,
                           "Invalid floating point operation");
    }
    // Only the entries left of the diagonal overflow: row 1 keeps a rounding residue of about
    // 1e284 in column 0, which the next step scales by 1e30.
    cases.emplace_back(testing::MatrixOf({{49, 0, 0}, {1.1e300, 1, 0}, {0, 1e30, 1}}), 3,
                       "Floating point overflow");
    for (const auto& [A, n, error] : cases) {
        ExpectSolverMatchesOracle(A, n, {0.0}, {});
        EXPECT_EQ(ErrorOf([&] { CountEigenvaluesBelow(A, n, 0.0); }), error);
    }
}

// Components first..last against the oracle's, which works out all R in one run (picking
// component r of its result may fail too), within 1e-9 of the series' level. Returns the
// engine's last message.
std::string ExpectWavesMatchOracle(const TSeries& series, int N, int L, int R, int first,
                                   int last) {
    std::optional<oracle::TComponents> all;
    const std::string failure = ErrorOf([&] { all = oracle::WaveComponents(series, N, L, R); });
    double level = 0.0;
    for (int i = 0; i < std::clamp(N, 0, SeriesCapacity); ++i) {
        level = std::max(level, std::abs(series[i]));
    }
    std::string error;
    for (int r = first; r <= last; ++r) {
        SCOPED_TRACE("N = " + std::to_string(N) + ", L = " + std::to_string(L) +
                     ", R = " + std::to_string(R) + ", r = " + std::to_string(r));
        const auto literal = [&] {
            if (!all) {
                throw std::runtime_error(failure);
            }
            return (*all)[r];
        };
        error = ExpectMatch([&] { return WaveComponent(series, N, L, R, r); }, literal,
                            1e-9 * level, N);
    }
    return error;
}

TEST(EngineAgainstOracleTest, WavesOfPriceWalksAndShortRandomSeries) {
    std::mt19937_64 random(1100);
    const std::array<int, 3> walks[] = {{1000, 101, 5}, {500, 39, 5}, {500, 16, 5}, {70, 50, 5},
                                        {1000, 1, 5},   {300, 2, 5},  {777, 64, 3}, {37, 12, 10},
                                        {40, 30, 5},    {999, 7, 8}};
    for (const auto& [N, L, R] : walks) {
        ExpectWavesMatchOracle(PriceWalk(random, N), N, L, R, 0, R - 1);
    }
    for (int trial = 0; trial < 30; ++trial) {
        const int N = std::uniform_int_distribution(1, 60)(random);
        const int L = std::uniform_int_distribution(1, std::min(N, 12))(random);
        const int R = std::uniform_int_distribution(1, 10)(random);
        TSeries series;
        for (int i = 0; i < N; ++i) {
            series[i] = Uniform(-3.0, 3.0)(random);
        }
        ExpectWavesMatchOracle(series, N, L, R, 0, R - 1);
    }
}

// The error cases of a wave, each with the message both engines must raise ("" for none).
TEST(EngineAgainstOracleTest, WaveErrors) {
    std::mt19937_64 random(9);
    const TSeries prices = PriceWalk(random, 1000);
    const TSeries zeros;
    const TSeries huge = testing::SeriesOf(std::vector<double>(20, 1e200));
    // S = diag(40, 256), M = 256: only the bisection for the smaller eigenvalue counts at
    // 2560 / 64 = 40, where the first pivot is zero and stays zero after the exchange.
    const TSeries otherComponentFails = testing::SeriesOf({3, 0, 5, 0, 2, 0, 1, 0, 1, 0, 15});
    const std::string invalid = "Invalid floating point operation";
    const std::string range = "Range check error";
    struct Case {
        const TSeries& series;
        int N, L, R, r;
        std::string error;
    };
    // A zero series fails unless one lag spares the eigenvector its elimination; fewer points
    // than lags give an all-zero covariance.
    const Case cases[] = {{zeros, 50, 2, 5, 0, invalid},
                          {zeros, 8, 1, 5, 0, ""},
                          {prices, 3, 5, 5, 0, invalid},
                          {prices, 0, 2, 5, 0, invalid},
                          {prices, 500, 0, 5, 0, range},
                          {prices, 1001, 39, 5, 0, range},
                          {prices, 500, 102, 5, 0, range},
                          {prices, 500, 16, 11, 0, range},
                          {prices, 500, 16, 5, 10, range},
                          {prices, 500, 16, 5, -1, range},
                          {huge, 20, 3, 5, 0, "Floating point overflow"},
                          {otherComponentFails, 11, 2, 2, 0, "Floating point division by zero"},
                          {otherComponentFails, 11, 2, 1, 0, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(ExpectWavesMatchOracle(c.series, c.N, c.L, c.R, c.r, c.r), c.error);
    }
}

} // namespace
} // namespace quillon
