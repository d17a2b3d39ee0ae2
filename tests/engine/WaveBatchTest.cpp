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
const TSeries Opens = SeriesOf({1.0, 1.2, 1.0, 1.1, 1.1, 1.2, 1.1, 1.0});
const TSeries Zeros;

// Equal requests, here the same points in another series, are worked out once and shared;
// requests that differ in any argument are not.
TEST(WaveComponentsTest, GivesEachRequestItsOwnComponent) {
    const TSeries closesAgain = Closes;
    const std::array<TWaveRequest, 6> requests = {
        TWaveRequest{&Closes, 8, 3, 5, 0},      TWaveRequest{&Closes, 8, 2, 5, 0},
        TWaveRequest{&Opens, 8, 3, 5, 1},       TWaveRequest{&Opens, 8, 2, 5, 1},
        TWaveRequest{&closesAgain, 8, 3, 5, 0}, TWaveRequest{&closesAgain, 7, 3, 5, 0}};
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
