#include <gtest/gtest.h>

#include "base/Errors.h"
#include "chart/ChartModel.h"

namespace quillon {
namespace {

TEST(ChartModelTest, NineSeriesInListOrderWithTheirColoursAndStartContent) {
    TChartModel model;
    // LineSeries1..4, the candles Series17, Series18..21.
    const TColor colors[] = {PaletteColor1, clBlue,  clBlue, clBlue, PaletteColor2,
                             clWhite,       clWhite, clBlue, clWhite};
    for (int i = 0; i < TChartModel::SeriesCount; ++i) {
        if (TChartModel::IsCandleSeries(i)) {
            EXPECT_THROW(model.LineSeriesAt(i), RangeCheckError);
            EXPECT_EQ(model.Series17().Color(), colors[i]);
            continue;
        }
        const TLineSeries& series = model.LineSeriesAt(i);
        EXPECT_EQ(series.Color(), colors[i]) << i;
        // Only LineSeries2 shows markers.
        EXPECT_EQ(series.MarkersVisible(), i == 1) << i;
        // Sample lines on the first four until a run replaces them.
        EXPECT_EQ(series.Points().size(), i < 4 ? 25u : 0u) << i;
    }
    EXPECT_THROW(model.LineSeriesAt(TChartModel::SeriesCount), RangeCheckError);
    // Forty sample candles spread over the lines' x range 0..24.
    const auto& candles = model.Series17().Candles();
    ASSERT_EQ(candles.size(), 40u);
    EXPECT_EQ(candles.back().x, 24.0);
    EXPECT_EQ(candles[13].x, 13 * 24.0 / 39.0);
}

TEST(ChartModelTest, PointsStaySortedByXWithEqualXInInsertionOrder) {
    TChartModel model;
    TLineSeries& series = model.LineSeries3();
    series.ClearPoints();
    const double xs[] = {5, 5, 2, 5, 3, 2};
    const int places[] = {0, 1, 0, 3, 1, 1};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(series.AppendPoint(xs[i], i, "", std::nullopt), places[i]) << i;
    }
    EXPECT_EQ(series.Points()[2].y, 4);
    EXPECT_EQ(series.Points()[5].y, 3);
}

TEST(ChartModelTest, CandlesLandAtTheCountHeldBeforeAndEveryChangeIsAnnounced) {
    TChartModel model;
    int changes = 0;
    model.SetChangeListener([&] { ++changes; });
    EXPECT_EQ(model.Series17().AppendCandle(1, 2, 0.5, 1.5), 40);
    EXPECT_EQ(model.Series17().Candles().back().x, 40.0);
    model.Series17().ClearPoints();
    model.LineSeries1().ClearPoints();
    model.LineSeries1().AppendPoint(0, 1, "", std::nullopt);
    EXPECT_EQ(changes, 4);
}

} // namespace
} // namespace quillon
