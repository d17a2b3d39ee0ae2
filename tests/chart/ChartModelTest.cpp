#include <gtest/gtest.h>

#include <algorithm>

#include "base/Errors.h"
#include "chart/ChartModel.h"

namespace quillon {
namespace {

TEST(ChartModelTest, NineSeriesInListOrderWithTheirSettings) {
    TChartModel model;
    const char* lineNames[] = {"LineSeries1", "LineSeries2", "LineSeries3", "LineSeries4", nullptr,
                               "Series18",    "Series19",    "Series20",    "Series21"};
    for (int i = 0; i < TChartModel::SeriesCount; ++i) {
        if (TChartModel::IsCandleSeries(i)) {
            EXPECT_THROW(model.LineSeriesAt(i), RangeCheckError);
            continue;
        }
        EXPECT_EQ(model.LineSeriesAt(i).Name(), lineNames[i]);
    }
    EXPECT_THROW(model.LineSeriesAt(9), RangeCheckError);
    EXPECT_THROW(model.LineSeriesAt(-1), RangeCheckError);
    EXPECT_EQ(model.Series17().Name(), "Series17");

    EXPECT_EQ(model.LineSeries1().Color(), PaletteColor1);
    EXPECT_EQ(model.Series17().Color(), PaletteColor2);
    for (TLineSeries* blue :
         {&model.LineSeries2(), &model.LineSeries3(), &model.LineSeries4(), &model.Series20()}) {
        EXPECT_EQ(blue->Color(), clBlue) << blue->Name();
    }
    for (TLineSeries* white : {&model.Series18(), &model.Series19(), &model.Series21()}) {
        EXPECT_EQ(white->Color(), clWhite) << white->Name();
    }
    EXPECT_TRUE(model.LineSeries2().MarkersVisible());
    EXPECT_EQ(model.LineSeries2().MarkerStyle(), TMarkerStyle::Circle);
    EXPECT_FALSE(model.LineSeries1().MarkersVisible());
}

TEST(ChartModelTest, StartContent) {
    TChartModel model;
    const double firstThree[4][3] = {
        {258, 319, 263}, {379, 373, 328}, {419, 414, 387}, {470, 422, 384}};
    double lowest = 1e9;
    double highest = -1e9;
    for (int s = 0; s < 4; ++s) {
        const auto& points = model.LineSeriesAt(s).Points();
        ASSERT_EQ(points.size(), 25u);
        for (int k = 0; k < 25; ++k) {
            EXPECT_EQ(points[k].x, k);
            EXPECT_EQ(points[k].y, static_cast<int>(points[k].y));
            EXPECT_FALSE(points[k].color.has_value());
            lowest = std::min(lowest, points[k].y);
            highest = std::max(highest, points[k].y);
        }
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(points[k].y, firstThree[s][k]);
        }
    }
    EXPECT_GE(lowest, 258);
    EXPECT_LE(highest, 664);

    const auto& candles = model.Series17().Candles();
    ASSERT_EQ(candles.size(), 40u);
    EXPECT_EQ(candles.front().x, 0.0);
    EXPECT_EQ(candles.back().x, 24.0);
    EXPECT_EQ(candles[13].x, 13 * 24.0 / 39.0);
    EXPECT_EQ(candles[1].open, 452.88);
    EXPECT_EQ(candles[1].high, 461.76);
    EXPECT_EQ(candles[2].close, 459.64);
    double low = 1e9;
    double high = -1e9;
    for (const TCandle& c : candles) {
        low = std::min({low, c.open, c.high, c.low, c.close});
        high = std::max({high, c.open, c.high, c.low, c.close});
    }
    EXPECT_EQ(low, 381.32);
    EXPECT_EQ(high, 461.76);
    for (int i = 5; i < TChartModel::SeriesCount; ++i) {
        EXPECT_TRUE(model.LineSeriesAt(i).Points().empty());
    }
}

TEST(ChartModelTest, PointsStaySortedByXWithEqualXInInsertionOrder) {
    TChartModel model;
    TLineSeries& series = model.LineSeries3();
    series.ClearPoints();
    EXPECT_EQ(series.AppendPoint(5, 1.0, "", std::nullopt), 0);
    EXPECT_EQ(series.AppendPoint(5, 2.0, "", clLime), 1);
    EXPECT_EQ(series.AppendPoint(2, 3.0, "", std::nullopt), 0);
    EXPECT_EQ(series.AppendPoint(5, 4.0, "", clRed), 3);
    EXPECT_EQ(series.AppendPoint(3, 5.0, "", std::nullopt), 1);
    EXPECT_EQ(series.AppendPoint(2, 6.0, "", std::nullopt), 1);
    std::vector<double> ys;
    for (const TLinePoint& p : series.Points()) {
        ys.push_back(p.y);
    }
    EXPECT_EQ(ys, (std::vector<double>{3, 6, 5, 1, 2, 4}));
    EXPECT_EQ(series.Points()[4].color, clLime);
    EXPECT_FALSE(series.Points()[3].color.has_value());
}

TEST(ChartModelTest, CandlesLandAtTheCountHeldBefore) {
    TChartModel model;
    TCandleSeries& candles = model.Series17();
    EXPECT_EQ(candles.AppendCandle(1, 2, 0.5, 1.5), 40);
    EXPECT_EQ(candles.Candles().back().x, 40.0);
    candles.ClearPoints();
    EXPECT_TRUE(candles.Candles().empty());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(candles.AppendCandle(1, 2, 0.5, 1.5), i);
        EXPECT_EQ(candles.Candles()[i].x, i);
    }
    // Prices are not checked against each other.
    candles.AppendCandle(5, 1, 9, 2);
    EXPECT_EQ(candles.Candles().back().low, 9);
}

TEST(ChartModelTest, EveryChangeOfPointsIsAnnounced) {
    TChartModel model;
    int changes = 0;
    model.SetChangeListener([&] { ++changes; });
    model.LineSeries1().ClearPoints();
    model.LineSeries1().AppendPoint(0, 1, "", std::nullopt);
    model.Series17().AppendCandle(1, 1, 1, 1);
    model.Series17().ClearPoints();
    EXPECT_EQ(changes, 4);
}

} // namespace
} // namespace quillon
