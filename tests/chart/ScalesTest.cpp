#include <gtest/gtest.h>

#include <tuple>

#include "ChartTestSupport.h"
#include "chart/Candles.h"
#include "chart/ChartLayout.h"
#include "chart/Scales.h"
#include "chart/Zoom.h"

namespace quillon {
namespace {

TEST(ScalesTest, AutomaticRangesCoverEveryPointAndAllFourPrices) {
    TChartModel model;
    ClearAllSeries(model);
    EXPECT_FALSE(AutomaticRanges(model).has_value());
    model.Series17().AppendCandle(1.20, 1.25, 1.18, 1.22);
    model.LineSeries4().AppendPoint(5, 1.30, "", std::nullopt);
    model.Series18().AppendPoint(-2, 1.19, "", std::nullopt);
    EXPECT_EQ(AutomaticRanges(model), (TChartRanges{{-2, 5}, {1.18, 1.30}}));
    // Prices are not checked against each other: open and close can be the extremes.
    ClearAllSeries(model);
    model.Series17().AppendCandle(9, 5, 4, 1);
    model.Series17().AppendCandle(4, 4, 4, 4);
    EXPECT_EQ(AutomaticRanges(model), (TChartRanges{{0, 1}, {1, 9}}));
    // A single point: flat ranges widen by 1 % of their value, or by 1 around zero.
    ClearAllSeries(model);
    model.LineSeries3().AppendPoint(0, 2.0, "", std::nullopt);
    const TChartRanges single = AutomaticRanges(model).value();
    EXPECT_EQ(single.x, (TValueRange{-1, 1}));
    EXPECT_DOUBLE_EQ(single.y.low, 1.98);
    EXPECT_DOUBLE_EQ(single.y.high, 2.02);
    EXPECT_EQ(WidenedIfFlat(TValueRange{-50, -50}), (TValueRange{-50.5, -49.5}));
}

TEST(ScalesTest, AxisMapAndPixelMargins) {
    // Vertical: the larger value lies higher, on the smaller row.
    const TAxisMap y(TValueRange{1.0, 2.0}, 200, 100);
    EXPECT_EQ(y.Pixel(2.0), 100);
    EXPECT_EQ(y.Pixel(1.504), 150);
    EXPECT_EQ(y.Pixel(1.506), 149);
    EXPECT_DOUBLE_EQ(y.ValueAt(150), 1.5);
    // Far outside the range the pixel is held at the limit instead of overflowing an int.
    EXPECT_EQ(y.Pixel(-1e300), TAxisMap::PixelLimit);
    EXPECT_EQ(y.Pixel(1e300), -TAxisMap::PixelLimit);
    // Margins that leave no room between them are not made.
    EXPECT_EQ(InflatedByPixels(TValueRange{0, 100}, 10, 5), (TValueRange{0, 100}));
}

// Eight pixels a character, lines 12 high.
const TTextMeasure Measure{12,
                           [](std::string_view text) { return 8 * static_cast<int>(text.size()); }};
const TPixelRect Area{0, 0, 599, 399};

TEST(ChartLayoutTest, LabelsLeftOfThePlotBelowTheTitleBand) {
    TChartModel model;
    ClearAllSeries(model);
    model.Series17().AppendCandle(1.2005, 1.2100, 1.2005, 1.2050);
    model.Series17().AppendCandle(1.2050, 1.2500, 1.2040, 1.2400);
    const TChartLayout layout = LayoutChart(model, std::nullopt, Area, Measure, {});
    ASSERT_TRUE(layout.HasScales());
    EXPECT_GT(layout.plot.top, Measure.lineHeight);
    EXPECT_EQ(layout.plot.bottom, Area.bottom);
    EXPECT_EQ(layout.plot.right, Area.right);
    EXPECT_EQ(layout.y->Range(), (TValueRange{1.2005, 1.25}));
    ASSERT_GE(layout.labels.size(), 2u);
    int widest = 0;
    for (const TAxisLabel& label : layout.labels) {
        EXPECT_EQ(label.row, layout.y->Pixel(label.value));
        widest = std::max(widest, Measure.width(label.text));
    }
    EXPECT_EQ(layout.labelWidth, widest);
    EXPECT_GT(layout.plot.left, widest + TickLength);
    EXPECT_GE(layout.labels[0].row - layout.labels[1].row, Measure.lineHeight * 3 / 2);
}

TEST(ChartLayoutTest, RoomAtTheEndsForTheEndCandlesBodies) {
    TChartModel model;
    ClearAllSeries(model);
    for (int i = 0; i < 50; ++i) {
        model.Series17().AppendCandle(1, 2, 0.5, 1.5);
    }
    const TChartLayout layout = LayoutChart(model, std::nullopt, Area, Measure, {});
    ASSERT_TRUE(layout.HasScales());
    const auto& candles = model.Series17().Candles();
    // One free column between the axis line and the first body; the last body ends at the edge.
    EXPECT_EQ(CandleGeometryOf(candles.front(), *layout.x, *layout.y).bodyLeft,
              layout.plot.left + 2);
    EXPECT_EQ(CandleGeometryOf(candles.back(), *layout.x, *layout.y).bodyRight,
              layout.plot.right - 1);
}

TEST(ChartLayoutTest, NoScalesWithoutPointsOrRoom) {
    TChartModel model;
    EXPECT_FALSE(LayoutChart(model, std::nullopt, {0, 0, 599, 15}, Measure, {}).HasScales());
    EXPECT_FALSE(LayoutChart(model, std::nullopt, {0, 0, 30, 399}, Measure, {}).HasScales());
    ClearAllSeries(model);
    EXPECT_FALSE(LayoutChart(model, std::nullopt, Area, Measure, {}).HasScales());
}

TEST(ZoomTest, DragDirectionAndLength) {
    // From (100, 200); 16 pixels both ways is the least that counts.
    const std::tuple<int, int, TDragAction> cases[] = {
        {116, 216, TDragAction::ZoomIn}, {115, 250, TDragAction::None},
        {150, 215, TDragAction::None},   {84, 184, TDragAction::ZoomReset},
        {85, 150, TDragAction::None},    {50, 185, TDragAction::None},
        {50, 250, TDragAction::None},    {150, 150, TDragAction::None}};
    for (const auto& [column, row, action] : cases) {
        EXPECT_EQ(ClassifyDrag(100, 200, column, row), action) << column << "," << row;
    }
}

} // namespace
} // namespace quillon
