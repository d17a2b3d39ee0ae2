#include <gtest/gtest.h>

#include "chart/ChartModel.h"
#include "chart/Scales.h"

namespace quillon {
namespace {

void ClearAll(TChartModel& model) {
    for (int i = 0; i < TChartModel::SeriesCount; ++i) {
        if (TChartModel::IsCandleSeries(i)) {
            model.Series17().ClearPoints();
        } else {
            model.LineSeriesAt(i).ClearPoints();
        }
    }
}

TEST(ScalesTest, NoPointsNoScales) {
    TChartModel model;
    ClearAll(model);
    EXPECT_FALSE(AutomaticRanges(model).has_value());
}

TEST(ScalesTest, CandlesCountAllFourPricesAndLinesTheirValues) {
    TChartModel model;
    ClearAll(model);
    model.Series17().AppendCandle(1.20, 1.25, 1.18, 1.22);
    model.Series17().AppendCandle(1.22, 1.23, 1.21, 1.215);
    model.LineSeries4().AppendPoint(5, 1.30, "", std::nullopt);
    model.Series18().AppendPoint(-2, 1.19, "", std::nullopt);
    const auto ranges = AutomaticRanges(model);
    ASSERT_TRUE(ranges.has_value());
    EXPECT_EQ(ranges->x, (TValueRange{-2, 5}));
    EXPECT_EQ(ranges->y, (TValueRange{1.18, 1.30}));
}

TEST(ScalesTest, InconsistentCandlePricesStillCount) {
    TChartModel model;
    ClearAll(model);
    model.Series17().AppendCandle(5, 1, 9, 2);
    model.Series17().AppendCandle(4, 4, 4, 4);
    const auto ranges = AutomaticRanges(model);
    ASSERT_TRUE(ranges.has_value());
    EXPECT_EQ(ranges->y, (TValueRange{1, 9}));
}

TEST(ScalesTest, FlatRangesAndSinglePointsAreWidened) {
    TChartModel model;
    ClearAll(model);
    model.LineSeries3().AppendPoint(0, 2.0, "", std::nullopt);
    auto ranges = AutomaticRanges(model);
    ASSERT_TRUE(ranges.has_value());
    EXPECT_EQ(ranges->x, (TValueRange{-1, 1}));
    EXPECT_DOUBLE_EQ(ranges->y.low, 1.98);
    EXPECT_DOUBLE_EQ(ranges->y.high, 2.02);
    EXPECT_EQ(WidenedIfFlat(TValueRange{-50, -50}), (TValueRange{-50.5, -49.5}));
    EXPECT_EQ(WidenedIfFlat(TValueRange{1, 3}), (TValueRange{1, 3}));
    // Both widened ranges can be mapped.
    const TAxisMap x(ranges->x, 0, 100);
    EXPECT_EQ(x.Pixel(0), 50);
}

TEST(ScalesTest, InflatingByPixelsPutsTheOldEndsInside) {
    const TValueRange inflated = InflatedByPixels(TValueRange{0, 100}, 111, 5);
    const TAxisMap map(inflated, 0, 110);
    EXPECT_EQ(map.Pixel(0), 5);
    EXPECT_EQ(map.Pixel(100), 105);
    EXPECT_EQ(InflatedByPixels(TValueRange{0, 100}, 10, 5), (TValueRange{0, 100}));
    EXPECT_EQ(InflatedByPixels(TValueRange{0, 100}, 300, 0), (TValueRange{0, 100}));
}

TEST(ScalesTest, AxisMapBothWays) {
    // Vertical: the larger value lies higher, on the smaller row.
    const TAxisMap y(TValueRange{1.0, 2.0}, 200, 100);
    EXPECT_EQ(y.Pixel(1.0), 200);
    EXPECT_EQ(y.Pixel(2.0), 100);
    EXPECT_EQ(y.Pixel(1.5), 150);
    EXPECT_EQ(y.Pixel(1.504), 150);
    EXPECT_EQ(y.Pixel(1.506), 149);
    EXPECT_DOUBLE_EQ(y.ValueAt(150), 1.5);
    EXPECT_DOUBLE_EQ(y.ValueAt(100), 2.0);
    const TAxisMap x(TValueRange{0, 999}, 10, 1009);
    EXPECT_EQ(x.Pixel(17), 27);
    EXPECT_DOUBLE_EQ(x.ValueAt(x.Pixel(500)), 500);
    // Far outside the range the pixel is held at the limit instead of overflowing an int.
    EXPECT_EQ(x.Pixel(1e300), TAxisMap::PixelLimit);
    EXPECT_EQ(x.Pixel(-1e300), -TAxisMap::PixelLimit);
}

} // namespace
} // namespace quillon
