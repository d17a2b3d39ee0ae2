#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/ChartFeed.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/chart/RunOutcome.h"

namespace quillon {
namespace {

// Point colours as ChartContent gives them.
constexpr double NoColor = -1, Lime = 0x00ff00, Red = 0xff0000;

// A file longer than the line store: its newest 500 bars are lines 10000..10499.
constexpr int FileLines = 10500;

using P = std::vector<double>;

// A complete run on the generator's walk, then a failed run. The judge checks the shape of a
// complete run, that Series20 and Series21 keep their points and that a failed run changes none;
// the live-writer test checks the candles. The wave points are pinned at three rows: the first wave
// row (a mark up), the first mark down and the newest row (no mark); the engine that gives them
// matches the literal algorithm bit for bit.
TEST(MakeWavesRunTest, ACompleteRunThenAFailedRun) {
    TTempDir dir;
    const std::vector<TGeneratedBar> file = GenerateBars(TBarFileSettings{.barCount = FileLines});
    TRunSettings settings{"500", "39", "16", dir.Write("EURUSD60.csv", BarFileText(file)), {}};
    TRun run;
    TChartModel chart;
    chart.Series20().AppendPoint(1.0, 2.0, "", TPointColor());
    chart.ZoomTo(TChartRanges{{0, 1}, {0, 1}});
    ASSERT_EQ(RunAndJudge(settings, run, chart), "complete 500");
    EXPECT_FALSE(chart.Zoom()) << "a run starts on automatic scales";
    const std::vector<TSeriesContent> content = ChartContent(chart);
    // Row k + 3: the close wave's spike up and down, the second close wave and the open waves.
    const struct {
        std::size_t k;
        double up, upColor, down, downColor, closeWave2, openWave1, openWave2;
    } rows[] = {{0, 1.0540001358987314, Lime, 1.0529471887100215, NoColor, 1.0527476835511242,
                 1.0377003893348282, 1.0385538913961663},
                {40, 1.0528807692227926, NoColor, 1.0518278884535699, Red, 1.0532803901739392,
                 1.0395377161280432, 1.0392590936961761},
                {496, 1.0491914731574101, NoColor, 1.0491914731574101, NoColor, 1.0493903875054349,
                 1.0392699043274838, 1.03810327902224}};
    for (const auto& r : rows) {
        const double x = static_cast<double>(r.k + 3);
        EXPECT_EQ(content[2][2 * r.k], (P{x, r.up, r.upColor})) << x;
        EXPECT_EQ(content[2][2 * r.k + 1], (P{x, r.down, r.downColor})) << x;
        EXPECT_EQ(content[3][r.k], (P{x, r.closeWave2, NoColor})) << x;
        EXPECT_EQ(content[5][r.k], (P{x, r.openWave1, NoColor})) << x;
        EXPECT_EQ(content[6][r.k], (P{x, r.openWave2, NoColor})) << x;
    }

    // A later failure says why and leaves every series as the complete run left it.
    settings.lag1Text = std::string("x");
    EXPECT_EQ(RunAndJudge(settings, run, chart), "failed: 'x' is not a valid integer value (W1)");
    settings.sourceFilePath.clear();
    EXPECT_EQ(RunAndJudge(settings, run, chart), "failed: no file chosen");
}

// Hand-made marks at close on the sample file at the defaults, whose chart marks rows 3 to 5 up and
// turns 8 times; each refill first empties the layer. A bar with no mark at close, or None, gets
// no triangle; a whole 2 of 3 rounds up, a third down.
TEST(MakeWavesRunTest, TheMarksAtCloseAndTheirLine) {
    TRun run;
    WorkOutRun(QUILLON_SAMPLE_BAR_FILE, {}, {}, run);
    const TBarTable& bars = run.Bars();
    const TTick U = TTick::Up, D = TTick::Down, O = TTick::None;
    const struct {
        std::vector<TMarkAtClose> rows3to5;
        std::vector<TMark> layer;
        std::string line;
    } cases[] = {
        {{U, D, O},
         {{3, bars.BarLow[3], true}, {4, bars.BarHigh[4], false}},
         "marks at close: 33 % agree with the chart; turns: 2 at close, 8 in the chart"},
        {{U, U, D},
         {{3, bars.BarLow[3], true}, {4, bars.BarLow[4], true}, {5, bars.BarHigh[5], false}},
         "marks at close: 67 % agree with the chart; turns: 2 at close, 8 in the chart"},
        {{}, {}, "marks at close: none yet"}};
    TChartModel chart;
    for (const auto& c : cases) {
        TMarksAtClose marks(500);
        std::copy(c.rows3to5.begin(), c.rows3to5.end(), marks.begin() + 3);
        FeedMarksAtClose(run, marks, chart);
        EXPECT_EQ(MarksAtCloseSummary(run, marks), c.line);
        const std::vector<TMark>& layer = chart.Marks().Points();
        ASSERT_EQ(layer.size(), c.layer.size()) << c.line;
        for (std::size_t i = 0; i < layer.size(); ++i) {
            EXPECT_TRUE(layer[i].x == c.layer[i].x && layer[i].y == c.layer[i].y &&
                        layer[i].up == c.layer[i].up)
                << c.line << " " << i;
        }
    }
}

} // namespace
} // namespace quillon
