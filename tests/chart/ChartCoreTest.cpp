#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ChartTestSupport.h"
#include "bars/Run.h"
#include "base/Errors.h"
#include "chart/Candles.h"
#include "chart/ChartFeed.h"
#include "chart/ChartLayout.h"
#include "chart/HoverTip.h"
#include "chart/LabelSteps.h"
#include "chart/NumberFormat.h"
#include "chart/Scales.h"

namespace quillon {
namespace {

TEST(ChartModelTest, PointsSortedByXCandlesAtTheCountChangesAnnouncedRangesOverAllPrices) {
    TChartModel model;
    int changes = 0;
    model.SetChangeListener([&] { ++changes; });
    TLineSeries& series = model.LineSeries3();
    series.ClearPoints();
    for (int i = 0;
         const auto& [x, place] : {std::pair(5, 0), {5, 1}, {2, 0}, {5, 3}, {3, 1}, {2, 1}}) {
        EXPECT_EQ(series.AppendPoint(x, i++, "", std::nullopt), place) << x;
    }
    EXPECT_EQ(std::pair(series.Points()[2].y, series.Points()[5].y), std::pair(4.0, 3.0));
    EXPECT_TRUE(model.Series17().Candles().empty()) << "nothing made up before a run";
    model.Series17().AppendCandle(1, 2, 0.5, 1.5);
    EXPECT_EQ(model.Series17().AppendCandle(1, 2, 0.5, 1.5), 1);
    EXPECT_EQ(model.Series17().Candles().back().x, 1.0);
    model.Series17().ClearPoints();
    EXPECT_EQ(changes, 10);
    // The layers in painting order, each reachable by its name.
    std::vector<std::string> names;
    for (const TChartLayer& layer : model.Layers()) {
        names.push_back(std::visit([](const auto& series) { return series.Name(); }, layer));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"LineSeries1", "LineSeries2", "LineSeries3",
                                               "LineSeries4", "Series17", "Series18", "Series19",
                                               "Series20", "Series21", "Marks"}));
    EXPECT_EQ(names.size(), static_cast<std::size_t>(TChartModel::SeriesCount));

    // Prices are not checked against each other: open and close can be the extremes. Marks count
    // in the scales once they hold points.
    ClearAllSeries(model);
    model.Series17().AppendCandle(9, 5, 4, 1);
    model.Series17().AppendCandle(4, 4, 4, 4);
    EXPECT_EQ(AutomaticRanges(model), (TChartRanges{{0, 1}, {1, 9}}));
    model.Marks().AppendMark(1.5, 0.5, true);
    EXPECT_EQ(model.Marks().AppendMark(-1, 9.5, false), 0);
    EXPECT_EQ(AutomaticRanges(model), (TChartRanges{{-1, 1.5}, {0.5, 9.5}}));
    // A single point: flat ranges widen by 1 % of their value, or by 1 around zero.
    ClearAllSeries(model);
    model.LineSeries3().AppendPoint(0, 2.0, "", std::nullopt);
    EXPECT_EQ(AutomaticRanges(model), (TChartRanges{{-1, 1}, {1.98, 2.02}}));
}

// A body is red when it closes below its open, white above; a flat one is white when first, else
// red or white as its close lies below or above the previous close, and at an equal close takes
// the series' colour: candles never carry a colour of their own.
TEST(CandlesTest, ColourRule) {
    const TColor series{4, 5, 6};
    EXPECT_EQ(CandleColor(std::vector{TCandle{0, 5, 5, 5, 5, {}}}, 0, series), clWhite);
    // Open and close of a candle after one that closed at 5.
    const std::tuple<double, double, TColor> cases[] = {
        {7, 6, clRed}, {1, 3, clWhite}, {3, 3, clRed}, {7, 7, clWhite}, {5, 5, series}};
    for (const auto& [open, close, colour] : cases) {
        const std::vector<TCandle> candles{{0, 1, 9, 1, 5, {}}, {1, open, 9, 1, close, {}}};
        EXPECT_EQ(CandleColor(candles, 1, series), colour) << open << " " << close;
    }
    EXPECT_THROW(CandleColor(std::vector<TCandle>(1), 1, series), RangeCheckError);
}

// One pixel per 0.01 of price from row 100 (price 0) up; one column per x from column 0.
TEST(CandlesTest, GeometryAndHitTest) {
    const TAxisMap X(TValueRange{0, 100}, 0, 100), Y(TValueRange{0, 1}, 100, 0);
    // Falling: open row 60 above close row 70; rising: the other way round.
    const auto geometry = [&](double open, double close) {
        return CandleGeometryOf(TCandle{20, open, 0.5, 0.1, close, {}}, X, Y);
    };
    // A body of 5 columns, 18 to 22; the widget's picture shows a flat one over two rows.
    const TCandleGeometry falling = geometry(0.4, 0.3), rising = geometry(0.3, 0.4);
    const std::tuple<const char*, const TCandleGeometry&, int, int, bool> cases[] = {
        {"falling body, two left of the line", falling, 18, 65, true},
        {"body box reaches one past the right edge", rising, 23, 65, true},
        {"two past the right edge", rising, 24, 65, false},
        {"one left of the body", rising, 17, 65, false},
        {"within a column of the line above the body", rising, 19, 55, true},
        {"on the line at the high row", rising, 21, 50, true},
        {"above the high row", rising, 20, 49, false},
        {"two columns off the line above the body", rising, 22, 55, false},
    };
    for (const auto& [name, candle, column, row, hit] : cases) {
        EXPECT_EQ(IsCandleHit(candle, column, row), hit) << name;
    }
    // Column 11 lies in both bodies: the lower index answers. Candle 2 lies beyond the x range, so
    // its pixels, moved onto column 0, are not looked at.
    const std::vector<TCandle> candles{
        {10, 0.3, 0.5, 0.1, 0.4, {}}, {12, 0.4, 0.5, 0.1, 0.3, {}}, {150, 0.4, 0.5, 0.1, 0.3, {}}};
    const TAxisMap pastEnd(TValueRange{0, 100}, -150, -50);
    EXPECT_EQ((std::vector{CandleAt(candles, X, Y, 11, 65), CandleAt(candles, X, Y, 14, 65),
                           CandleAt(candles, X, Y, 40, 65), CandleAt(candles, pastEnd, Y, 0, 65)}),
              (std::vector<std::optional<int>>{0, 1, std::nullopt, std::nullopt}));
}

// The sample file's run (500 bars, lags 39 and 16) laid out at 800 x 580, as numbers: the picture
// tests hold quillon-chart against the widget, the same code, so only this sees the layout move.
// At this height one label more would halve the step. The text is measured as a fixed font would
// be, 13-pixel lines and 6 pixels a character.
TEST(ChartLayoutTest, SampleRunAt800x580) {
    TRun run;
    WorkOutRun(QUILLON_SAMPLE_BAR_FILE, TRunNumbers{}, TReadSettings{}, run);
    TChartModel model;
    FeedChart(run, model);
    const TTextMeasure fixedFont{
        13, [](std::string_view text) { return 6 * static_cast<int>(text.size()); }};
    const TChartLayout layout =
        LayoutChart(model, std::nullopt, TPixelRect{0, 0, 799, 579}, fixedFont, {".", ","});
    ASSERT_TRUE(layout.HasScales());
    const TPixelRect& plot = layout.plot;
    EXPECT_EQ(std::vector({plot.left, plot.top, plot.right, plot.bottom}),
              std::vector({36, 17, 799, 579}));
    std::vector<std::pair<std::string, int>> labels;
    for (const TAxisLabel& label : layout.labels) {
        labels.emplace_back(label.text, label.row);
    }
    const std::vector<std::pair<std::string, int>> expected{
        {"1.062", 556}, {"1.063", 518}, {"1.064", 481}, {"1.065", 444}, {"1.066", 406},
        {"1.067", 369}, {"1.068", 332}, {"1.069", 295}, {"1.07", 257},  {"1.071", 220},
        {"1.072", 183}, {"1.073", 145}, {"1.074", 108}, {"1.075", 71},  {"1.076", 34}};
    EXPECT_EQ(labels, expected);
    // The first and last candles' columns and body width; the first close wave's first point.
    const std::vector<TCandle>& candles = model.Series17().Candles();
    const TCandleGeometry first = CandleGeometryOf(candles.front(), *layout.x, *layout.y);
    const TCandleGeometry last = CandleGeometryOf(candles.back(), *layout.x, *layout.y);
    EXPECT_EQ(std::vector({first.column, last.column, last.bodyRight - last.bodyLeft + 1}),
              std::vector({40, 796, 5}));
    const TLinePoint& wave = model.LineSeries3().Points().front();
    EXPECT_EQ(std::pair(layout.x->Pixel(wave.x), layout.y->Pixel(wave.y)), std::pair(45, 138));
}

// Values that cannot be formatted (NaN, infinities) are the number format fuzz target's.
TEST(AxisLabelsTest, NumberPatternsSeparatorsAndOneTwoFiveSteps) {
    const auto expectFormats = [](const char* pattern,
                                  std::initializer_list<std::pair<double, const char*>> cases) {
        for (const auto& [value, expected] : cases) {
            EXPECT_EQ(FormatNumber(value, pattern, {".", ","}), expected) << pattern;
        }
    };
    // The price labels: "#" places write nothing for zeros at either end; a carry, and a negative
    // value that rounds to zero gets no sign.
    expectFormats("#####.####", {{1.23456, "1.2346"}, {2, "2"}, {0.5, ".5"}, {0, ""}});
    expectFormats("#####.####", {{-1.5, "-1.5"}, {9.99999, "10"}, {-0.00004, ""}});
    // Rounding works on the 15 digits a value reads as: halves away from zero.
    expectFormats("#####.####",
                  {{1.2100000000000002, "1.21"}, {1.00005, "1.0001"}, {1.00004999, "1"}});
    // Read to 16 digits this one would lie below the half.
    expectFormats("#####.####", {{1.0000499999999994, "1.0001"}});
    expectFormats("#,##0.###", {{1234567.0005, "1,234,567.001"}, {999.9996, "1,000"}, {0, "0"}});
    expectFormats("0.#####", {{-2.5, "-2.5"}, {1e20, "100000000000000000000"}});
    // The hover tip; some locales separate with characters of more than one byte.
    EXPECT_EQ(HoverTipText(TCandle{1234, 1, 2, 0.5, 1.234567, {}}, {".", ","}), "1,234 1.23457");
    EXPECT_EQ(FormatNumber(1234567.25, "#,##0.###", {",", "\u202f"}), "1\u202f234\u202f567,25");

    // One step per branch of the sequence: x 10, 2, 5, 10 and below 1; room for none gets one.
    const std::tuple<double, int, double> steps[] = {{100, 10, 10},  {1000, 3, 500},  {7, 1, 5},
                                                     {80.44, 20, 5}, {0.3, 40, 0.01}, {10, 0, 10},
                                                     {3, 2, 2}};
    for (const auto& [range, maxLabels, step] : steps) {
        EXPECT_DOUBLE_EQ(LabelStep(range, maxLabels), step) << range << " " << maxLabels;
    }
    // Each value of the sequence steps to the next, at every power of ten.
    const double sequence[] = {0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100, 200};
    for (std::size_t i = 0; i + 1 < std::size(sequence); ++i) {
        EXPECT_DOUBLE_EQ(NextLabelStep(sequence[i]), sequence[i + 1]) << sequence[i];
    }
    EXPECT_EQ(LabelValues(-3, 7, 5), (std::vector<double>{0, 5}));
}

} // namespace
} // namespace quillon
