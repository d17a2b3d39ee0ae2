#include <gtest/gtest.h>

#include "chart/Candles.h"
#include "chart/ChartLayout.h"
#include "chart/ChartModel.h"

namespace quillon {
namespace {

// Eight pixels a character, lines 12 high.
const TTextMeasure Measure{12,
                           [](std::string_view text) { return 8 * static_cast<int>(text.size()); }};
const TPixelRect Area{0, 0, 599, 399};

void KeepOnlyCandles(TChartModel& model) {
    for (int i = 0; i < TChartModel::SeriesCount; ++i) {
        if (!TChartModel::IsCandleSeries(i)) {
            model.LineSeriesAt(i).ClearPoints();
        }
    }
    model.Series17().ClearPoints();
}

TEST(ChartLayoutTest, TitleBandLabelsAndPlot) {
    TChartModel model;
    KeepOnlyCandles(model);
    model.Series17().AppendCandle(1.2005, 1.2100, 1.2005, 1.2050);
    model.Series17().AppendCandle(1.2050, 1.2500, 1.2040, 1.2400);
    const TChartLayout layout = LayoutChart(model, std::nullopt, Area, Measure, {});
    ASSERT_TRUE(layout.HasScales());
    EXPECT_GT(layout.plot.top, Measure.lineHeight);
    EXPECT_EQ(layout.plot.bottom, Area.bottom);
    EXPECT_EQ(layout.plot.right, Area.right);
    EXPECT_EQ(layout.y->Range(), (TValueRange{1.2005, 1.25}));
    ASSERT_FALSE(layout.labels.empty());
    int widest = 0;
    for (const TAxisLabel& label : layout.labels) {
        EXPECT_EQ(label.row, layout.y->Pixel(label.value));
        EXPECT_TRUE(layout.y->Range().Contains(label.value));
        widest = std::max(widest, Measure.width(label.text));
    }
    EXPECT_EQ(layout.labelWidth, widest);
    EXPECT_GT(layout.plot.left, widest + TickLength);
    // Labels at least a line and a half apart.
    const int gap = layout.labels[0].row - layout.labels[1].row;
    EXPECT_GE(gap, Measure.lineHeight * 3 / 2);
}

TEST(ChartLayoutTest, EndCandleBodiesStayInsideThePlot) {
    TChartModel model;
    KeepOnlyCandles(model);
    for (int i = 0; i < 50; ++i) {
        model.Series17().AppendCandle(1, 2, 0.5, 1.5);
    }
    const TChartLayout layout = LayoutChart(model, std::nullopt, Area, Measure, {});
    ASSERT_TRUE(layout.HasScales());
    const auto& candles = model.Series17().Candles();
    const TCandleGeometry first = CandleGeometryOf(candles.front(), *layout.x, *layout.y);
    const TCandleGeometry last = CandleGeometryOf(candles.back(), *layout.x, *layout.y);
    EXPECT_GT(first.bodyLeft, layout.plot.left);
    EXPECT_LE(last.bodyRight, layout.plot.right);
    EXPECT_GE(last.bodyRight, layout.plot.right - 1);
}

TEST(ChartLayoutTest, ShownMarkersGetRoomAtTheEnds) {
    TChartModel model;
    KeepOnlyCandles(model);
    model.LineSeries2().AppendPoint(0, 10, "", std::nullopt);
    model.LineSeries2().AppendPoint(10, 20, "", std::nullopt);
    const TChartLayout layout = LayoutChart(model, std::nullopt, Area, Measure, {});
    ASSERT_TRUE(layout.HasScales());
    EXPECT_GE(layout.y->Pixel(20) - MarkerRadius, layout.plot.top);
    EXPECT_LE(layout.y->Pixel(10) + MarkerRadius, layout.plot.bottom);
    EXPECT_GT(layout.x->Pixel(0) - MarkerRadius, layout.plot.left);
    EXPECT_LE(layout.x->Pixel(10) + MarkerRadius, layout.plot.right);
}

TEST(ChartLayoutTest, ZoomFixesTheRanges) {
    TChartModel model;
    const TChartRanges zoom{TValueRange{3, 7}, TValueRange{400, 420}};
    const TChartLayout layout = LayoutChart(model, zoom, Area, Measure, {});
    ASSERT_TRUE(layout.HasScales());
    EXPECT_EQ(layout.x->Range(), zoom.x);
    EXPECT_EQ(layout.y->Range(), zoom.y);
    EXPECT_EQ(layout.x->Pixel(7), layout.plot.right);
    EXPECT_EQ(layout.y->Pixel(400), layout.plot.bottom);
}

TEST(ChartLayoutTest, NoScalesWithoutPointsOrRoom) {
    TChartModel model;
    EXPECT_FALSE(
        LayoutChart(model, std::nullopt, TPixelRect{0, 0, 599, 15}, Measure, {}).HasScales());
    EXPECT_FALSE(
        LayoutChart(model, std::nullopt, TPixelRect{0, 0, 30, 399}, Measure, {}).HasScales());
    KeepOnlyCandles(model);
    EXPECT_FALSE(LayoutChart(model, std::nullopt, Area, Measure, {}).HasScales());
}

} // namespace
} // namespace quillon
