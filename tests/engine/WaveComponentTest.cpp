#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/WaveBatch.h"
#include "engine/WaveComponent.h"

namespace quillon {
namespace {

using testing::ErrorOf;
using testing::SeriesOf;

const TSeries Closes = SeriesOf({1.1, 1.3, 0.9, 1.2, 1.0, 1.25, 1.15, 1.05});

// Both components of 1, 2, 3, 4, 5 are known to five decimals, whichever side of the elementary
// matrix the averaging runs over (L = 4 has more lags than lagged vectors), and with as many
// components as lags they add back up to the series.
TEST(WaveComponentTest, SplitsOneToFiveIntoKnownComponents) {
    const TSeries oneToFive = SeriesOf({1, 2, 3, 4, 5});
    const double known[2][5] = {{1.31415, 1.95783, 2.93674, 3.91565, 5.13402},
                                {-0.31415, 0.04217, 0.06326, 0.08435, -0.13402}};
    for (int L : {2, 4}) {
        const TSeries wave0 = WaveComponent(oneToFive, 5, L, 2, 0);
        const TSeries wave1 = WaveComponent(oneToFive, 5, L, 2, 1);
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(wave0[i], known[0][i], 5e-6) << "L = " << L << ", point " << i;
            EXPECT_NEAR(wave1[i], known[1][i], 5e-6) << "L = " << L << ", point " << i;
            if (L == 2) {
                EXPECT_NEAR(wave0[i] + wave1[i], oneToFive[i], 1e-7) << "point " << i;
            }
        }
    }
}

// Cases whose component is the series itself: one lag makes every eigenvector (1); one lagged
// vector (N = L) is reproduced by the leading component; a constant series comes back only if
// every anti-diagonal is divided by its own number of terms (one off misses by a per cent).
TEST(WaveComponentTest, GivesBackTheSeriesWhereItMust) {
    const TSeries constant = SeriesOf(std::vector<double>(SeriesCapacity, 1.1));
    struct Case {
        const TSeries& series;
        int N, L, R, r;
        double relativeError;
    };
    const Case cases[] = {{Closes, 8, 1, 3, 0, 0.0},      {Closes, 8, 1, 3, 2, 0.0},
                          {Closes, 6, 6, 5, 0, 1e-6},     {constant, 10, 7, 5, 0, 9e-6},
                          {constant, 10, 4, 5, 0, 9e-6},  {constant, 500, 39, 5, 0, 9e-6},
                          {constant, 40, 40, 5, 0, 9e-6}, {constant, 120, 101, 5, 0, 9e-6}};
    for (const Case& c : cases) {
        const TSeries wave = WaveComponent(c.series, c.N, c.L, c.R, c.r);
        for (int i = 0; i < c.N; ++i) {
            ASSERT_NEAR(wave[i], c.series[i], c.relativeError * c.series[i])
                << "N = " << c.N << ", L = " << c.L << ", r = " << c.r << ", point " << i;
        }
    }
}

const TSeries Opens = SeriesOf({1.0, 1.2, 1.0, 1.1, 1.1, 1.2, 1.1, 1.0});
const TSeries Zeros;

// Equal requests, here the same points in another series, are worked out once and shared;
// requests that differ from them in one argument (points, N, L or r) are not.
TEST(WaveComponentsTest, GivesEachRequestItsOwnComponent) {
    const TSeries closesAgain = Closes;
    const std::array<TWaveRequest, 6> requests = {
        TWaveRequest{&Closes, 8, 3, 5, 0},      TWaveRequest{&closesAgain, 8, 3, 5, 0},
        TWaveRequest{&Opens, 8, 3, 5, 0},       TWaveRequest{&closesAgain, 7, 3, 5, 0},
        TWaveRequest{&closesAgain, 8, 2, 5, 0}, TWaveRequest{&closesAgain, 8, 3, 5, 1}};
    std::array<TSeries, 6> results;
    WaveComponents(requests, results);
    for (int i = 0; i < 6; ++i) {
        const TWaveRequest& q = requests[i];
        EXPECT_EQ(results[i], WaveComponent(*q.series, q.N, q.L, q.R, q.r)) << "request " << i;
    }
}

// Whatever finishes first, the error is that of the earliest failing request, and no result is
// written.
TEST(WaveComponentsTest, RaisesTheFirstFailingRequestsError) {
    const std::array<TWaveRequest, 4> requests = {
        TWaveRequest{&Closes, 8, 3, 5, 0}, TWaveRequest{&Zeros, 8, 2, 5, 0},
        TWaveRequest{&Closes, 8, 0, 5, 1}, TWaveRequest{&Opens, 8, 2, 5, 1}};
    std::array<TSeries, 4> results;
    results[0][0] = 42.0;
    EXPECT_EQ(ErrorOf([&] { WaveComponents(requests, results); }),
              "Invalid floating point operation");
    EXPECT_EQ(results[0][0], 42.0);
}

} // namespace
} // namespace quillon
