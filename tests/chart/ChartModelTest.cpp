#include <gtest/gtest.h>

#include <vector>

#include "base/Errors.h"
#include "chart/ChartModel.h"

namespace quillon {
namespace {

TEST(ChartModelTest, NineSeriesInListOrderWithTheirSettings) {
    TChartModel model;
    struct TLine {
        const char* name;
        TColor color;
    };
    const TLine lines[] = {
        {"LineSeries1", PaletteColor1}, {"LineSeries2", clBlue}, {"LineSeries3", clBlue},
        {"LineSeries4", clBlue},        {nullptr, {}},           {"Series18", clWhite},
        {"Series19", clWhite},          {"Series20", clBlue},    {"Series21", clWhite}};
    for (int i = 0; i < TChartModel::SeriesCount; ++i) {
        if (TChartModel::IsCandleSeries(i)) {
            EXPECT_THROW(model.LineSeriesAt(i), RangeCheckError);
            continue;
        }
        EXPECT_EQ(model.LineSeriesAt(i).Name(), lines[i].name);
        EXPECT_EQ(model.LineSeriesAt(i).Color(), lines[i].color) << lines[i].name;
        EXPECT_EQ(model.LineSeriesAt(i).MarkersVisible(), i == 1) << lines[i].name;
    }
    EXPECT_THROW(model.LineSeriesAt(9), RangeCheckError);
    EXPECT_EQ(model.Series17().Name(), "Series17");
    EXPECT_EQ(model.Series17().Color(), PaletteColor2);
    EXPECT_EQ(model.LineSeries2().MarkerStyle(), TMarkerStyle::Circle);
}

TEST(ChartModelTest, StartContentSpreadsFortyCandlesOverTheLines) {
    TChartModel model;
    for (int s = 0; s < TChartModel::SeriesCount; ++s) {
        if (!TChartModel::IsCandleSeries(s)) {
            const auto& points = model.LineSeriesAt(s).Points();
            ASSERT_EQ(points.size(), s < 4 ? 25u : 0u);
            EXPECT_TRUE(points.empty() || points.back().x == 24);
        }
    }
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
    std::vector<double> ys;
    for (const TLinePoint& p : series.Points()) {
        ys.push_back(p.y);
    }
    EXPECT_EQ(ys, (std::vector<double>{2, 5, 4, 0, 1, 3}));
}

TEST(ChartModelTest, CandlesLandAtTheCountHeldBeforeAndEveryChangeIsAnnounced) {
    TChartModel model;
    int changes = 0;
    model.SetChangeListener([&] { ++changes; });
    TCandleSeries& candles = model.Series17();
    EXPECT_EQ(candles.AppendCandle(1, 2, 0.5, 1.5), 40);
    EXPECT_EQ(candles.Candles().back().x, 40.0);
    candles.ClearPoints();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(candles.AppendCandle(1, 2, 0.5, 1.5), i);
        EXPECT_EQ(candles.Candles()[i].x, i);
    }
    model.LineSeries1().ClearPoints();
    model.LineSeries1().AppendPoint(0, 1, "", std::nullopt);
    EXPECT_EQ(changes, 7);
}

} // namespace
} // namespace quillon
