#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/MakeWavesRun.h"
#include "engine/WaveComponent.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/chart/RunOutcome.h"

namespace quillon {
namespace {

// Point colours as ChartContent gives them.
constexpr double NoColor = -1;
constexpr double Lime = 0x00ff00;
constexpr double Red = 0xff0000;

// A file longer than the line store: its newest 500 bars are lines 10000..10499.
constexpr int FileLines = 10500;
constexpr int FirstLine = FileLines - 500;

// A complete run, each point against the waves worked out here, and then what failed runs leave.
// The judge checks the shape of a complete run (994 points on the first close wave, 497 on the
// other wave lines, an empty provisional line) and that Series20 and Series21 keep their points.
TEST(MakeWavesRunTest, ACompleteRunThenFailedRuns) {
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

    const int N = 500;
    const TBarTable& bars = run.Bars();
    const TSeries close1 = WaveComponent(bars.BarClose, N, 39, 5, 0);
    const TSeries close2 = WaveComponent(bars.BarClose, N, 16, 5, 0);
    const TSeries open1 = WaveComponent(bars.BarOpen, N, 39, 5, 1);
    const TSeries open2 = WaveComponent(bars.BarOpen, N, 16, 5, 1);
    const double p = PointsToPrice(file.back().close);
    int ups = 0;
    int downs = 0;
    using P = std::vector<double>;
    for (int i = 0; i < N; ++i) {
        const TGeneratedBar& bar = file[static_cast<std::size_t>(FirstLine + i)];
        EXPECT_EQ(content[4][static_cast<std::size_t>(i)],
                  (P{static_cast<double>(i), PointsToPrice(bar.open), PointsToPrice(bar.high),
                     PointsToPrice(bar.low), PointsToPrice(bar.close)}));
        if (i < 3) {
            continue;
        }
        const std::size_t k = static_cast<std::size_t>(i - 3);
        const double x = i;
        const double w = close1[i];
        const bool up = close1[i - 1] > close1[i - 2] && close2[i - 1] > close2[i - 2];
        const bool down = close1[i - 1] < close1[i - 2] && close2[i - 1] < close2[i - 2];
        ups += up;
        downs += down;
        EXPECT_EQ(content[2][2 * k], (up ? P{x, w + 0.001 * w, Lime} : P{x, w, NoColor})) << i;
        EXPECT_EQ(content[2][2 * k + 1], (down ? P{x, w - 0.001 * w, Red} : P{x, w, NoColor})) << i;
        EXPECT_EQ(content[3][k], (P{x, close2[i], NoColor})) << i;
        EXPECT_EQ(content[5][k], (P{x, 3 * open1[i] + p - 0.01 * p, NoColor})) << i;
        EXPECT_EQ(content[6][k], (P{x, 3 * open2[i] + p - 0.01 * p, NoColor})) << i;
    }
    EXPECT_GT(ups, 0);
    EXPECT_GT(downs, 0);
    EXPECT_LT(ups + downs, N - 3) << "some rows where the close waves disagree";

    // A later failure leaves the closes handed over on the provisional line, at x = their line in
    // the file, and every other series as the complete run left it.
    settings.lag1Text = "x";
    EXPECT_EQ(RunAndJudge(settings, run, chart), "silent 500");
    TSeriesContent closes;
    for (int line = FirstLine; line < FileLines; ++line) {
        const double close = PointsToPrice(file[static_cast<std::size_t>(line)].close);
        closes.push_back({static_cast<double>(line), close, NoColor});
    }
    EXPECT_EQ(ChartContent(chart)[0], closes);
}

} // namespace
} // namespace quillon
