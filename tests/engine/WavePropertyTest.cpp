#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "RandomInputs.h"
#include "engine/WaveComponent.h"

namespace quillon {
namespace {

// With as many components as lags, the eigenvectors span the whole lag space, so the
// components add back up to the series. Eigenvalues are resolved to M / 10^7 only, so a few lags
// keep the small eigenvalues well apart.
TEST(WavePropertyTest, AllComponentsAddUpToTheSeries) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> point(0.5, 1.5);
    for (int L = 1; L <= 4; ++L) {
        const int N = 40;
        TSeries series;
        for (int i = 0; i < N; ++i) {
            series[i] = point(random);
        }
        TSeries total;
        for (int r = 0; r < L; ++r) {
            const TSeries component = WaveComponent(series, N, L, L, r);
            for (int i = 0; i < N; ++i) {
                total[i] += component[i];
            }
        }
        for (int i = 0; i < N; ++i) {
            EXPECT_NEAR(total[i], series[i], 1e-5) << "L = " << L << ", point " << i;
        }
    }
}

// On prices, component 0 follows the level and component 1 swings around zero.
TEST(WavePropertyTest, LeadingComponentFollowsPrices) {
    std::mt19937_64 random(8);
    const TSeries prices = testing::PriceWalk(random, 500);
    const TSeries level = WaveComponent(prices, 500, 39, 5, 0);
    const TSeries swing = WaveComponent(prices, 500, 39, 5, 1);
    double swingSum = 0.0;
    for (int i = 0; i < 500; ++i) {
        EXPECT_NEAR(level[i], prices[i], 0.01) << "point " << i;
        EXPECT_LT(std::abs(swing[i]), 0.01) << "point " << i;
        swingSum += swing[i];
    }
    EXPECT_LT(std::abs(swingSum / 500), 0.002);
}

} // namespace
} // namespace quillon
