#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/WaveComponent.h"

namespace quillon {
namespace {

using testing::ErrorOf;
using testing::SeriesOf;

const TSeries OneToFive = SeriesOf({1, 2, 3, 4, 5});

TSeries Constant(double value, int N) {
    return SeriesOf(std::vector<double>(N, value));
}

// A short series whose two components are known to five decimals.
TEST(WaveComponentTest, SplitsOneToFiveIntoKnownComponents) {
    const double component0[] = {1.31415, 1.95783, 2.93674, 3.91565, 5.13402};
    const double component1[] = {-0.31415, 0.04217, 0.06326, 0.08435, -0.13402};
    const TSeries wave0 = WaveComponent(OneToFive, 5, 2, 2, 0);
    const TSeries wave1 = WaveComponent(OneToFive, 5, 2, 2, 1);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(wave0[i], component0[i], 5e-6) << "point " << i;
        EXPECT_NEAR(wave1[i], component1[i], 5e-6) << "point " << i;
        EXPECT_NEAR(wave0[i] + wave1[i], OneToFive[i], 1e-7) << "point " << i;
    }
}

// With the window longer than the number of lagged vectors the averaging runs over the other
// side of the elementary matrix, and the components stay the same.
TEST(WaveComponentTest, WindowLongerThanLaggedVectorsGivesTheSameComponents) {
    for (int r = 0; r < 2; ++r) {
        const TSeries shortWindow = WaveComponent(OneToFive, 5, 2, 2, r);
        const TSeries longWindow = WaveComponent(OneToFive, 5, 4, 2, r);
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(longWindow[i], shortWindow[i], 5e-6) << "r = " << r << ", point " << i;
        }
    }
}

// With one lag every eigenvector is (1), so every component is the series itself.
TEST(WaveComponentTest, WindowOfOneReturnsTheSeries) {
    const TSeries series = SeriesOf({1.10012, 1.10034, 1.09987, 1.10101});
    for (int r = 0; r < 3; ++r) {
        const TSeries wave = WaveComponent(series, 4, 1, 3, r);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(wave[i], series[i]) << "r = " << r << ", point " << i;
        }
    }
}

TEST(WaveComponentTest, SingleLaggedVectorIsReproduced) {
    const TSeries series = SeriesOf({1.1, 1.3, 0.9, 1.2, 1.0, 1.25});
    const TSeries wave = WaveComponent(series, 6, 6, 5, 0);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(wave[i], series[i], 1e-6 * series[i]) << "point " << i;
    }
}

// A constant series comes back as itself only if every anti-diagonal is divided by its own
// number of terms; a divisor off by one would miss by a per cent or more.
TEST(WaveComponentTest, ConstantSeriesComesBackWithEveryDivisor) {
    struct Case {
        int N;
        int L;
    };
    for (const Case c : {Case{10, 7}, Case{10, 4}, Case{500, 39}, Case{40, 40}, Case{120, 101}}) {
        const TSeries wave = WaveComponent(Constant(1.1, c.N), c.N, c.L, 5, 0);
        for (int i = 0; i < c.N; ++i) {
            ASSERT_NEAR(wave[i], 1.1, 1e-5) << "N = " << c.N << ", L = " << c.L << ", point " << i;
        }
    }
}

TEST(WaveComponentFaultTest, ZeroSeriesFailsUnlessTheWindowIsOne) {
    EXPECT_EQ(ErrorOf([] { WaveComponent(Constant(0.0, 8), 8, 2, 5, 0); }),
              "Invalid floating point operation");
    const TSeries wave = WaveComponent(Constant(0.0, 8), 8, 1, 5, 0);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(wave[i], 0.0);
    }
    // Fewer points than lags: no lagged vector, an all-zero covariance matrix.
    EXPECT_EQ(ErrorOf([] { WaveComponent(OneToFive, 3, 4, 5, 0); }),
              "Invalid floating point operation");
}

// Every component is worked out, so a fault in one that is not returned still fails the call.
// Here S = diag(40, 256) and M = 256: the bisection for the smaller eigenvalue counts at
// 2560 / 64 = 40, where the first pivot is zero and stays zero after the exchange. Component 0
// alone never counts there.
TEST(WaveComponentFaultTest, FaultInAnotherComponentFailsTheCall) {
    const TSeries series = SeriesOf({3, 0, 5, 0, 2, 0, 1, 0, 1, 0, 15});
    EXPECT_EQ(ErrorOf([&] { WaveComponent(series, 11, 2, 2, 0); }),
              "Floating point division by zero");
    const TSeries wave = WaveComponent(series, 11, 2, 1, 0);
    EXPECT_EQ(wave[10], 15.0);
}

TEST(WaveComponentFaultTest, ArgumentsBeyondTheCapacitiesRaiseTheRangeError) {
    const TSeries series = Constant(1.1, 1000);
    EXPECT_EQ(ErrorOf([&] { WaveComponent(series, 500, 0, 5, 0); }), "Range check error");
    EXPECT_EQ(ErrorOf([&] { WaveComponent(series, 1001, 39, 5, 0); }), "Range check error");
    EXPECT_EQ(ErrorOf([&] { WaveComponent(series, 500, 102, 5, 0); }), "Range check error");
    EXPECT_EQ(ErrorOf([&] { WaveComponent(series, 500, 39, 11, 0); }), "Range check error");
    EXPECT_EQ(ErrorOf([&] { WaveComponent(series, 500, 39, 5, 10); }), "Range check error");
}

TEST(WaveComponentFaultTest, OverflowRaisesTheOverflowError) {
    EXPECT_EQ(ErrorOf([] { WaveComponent(Constant(1e200, 20), 20, 3, 5, 0); }),
              "Floating point overflow");
}

TEST(WaveComponentTest, LeavesTheCallersSeriesUnchanged) {
    const TSeries original = SeriesOf({1.1, 1.3, 0.9, 1.2, 1.0, 1.25});
    const TSeries argument = original;
    WaveComponent(argument, 6, 3, 5, 1);
    EXPECT_EQ(argument, original);
}

} // namespace
} // namespace quillon
