#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "bars/MakeWavesRun.h"
#include "engine/WaveComponent.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/bars/RunOutcome.h"

namespace quillon {
namespace {

// Point colours as ChartContent gives them.
constexpr double NoColor = -1;
constexpr double Lime = 0x00ff00;
constexpr double Red = 0xff0000;

class MakeWavesRunTest : public ::testing::Test {
protected:
    // A generated bar file of barCount lines and then trailer, chosen as the runs' source.
    void ChooseFile(int barCount, const std::string& trailer = "") {
        generated_ = GenerateBars(TBarFileSettings{.barCount = barCount});
        settings_.sourceFilePath = dir_.Write("EURUSD60.csv", BarFileText(generated_) + trailer);
    }

    std::string Run(TChartModel& chart, const TRunSettings& settings) {
        return RunAndJudge(settings, barLines_, bars_, chart);
    }

    // The closes of the file's lines first .. last as the provisional close line holds them.
    TSeriesContent Closes(int first, int last) const {
        TSeriesContent points;
        for (int line = first; line <= last; ++line) {
            const double close = PointsToPrice(generated_[static_cast<std::size_t>(line)].close);
            points.push_back({static_cast<double>(line), close, NoColor});
        }
        return points;
    }

    TTempDir dir_;
    std::vector<TGeneratedBar> generated_;
    TRunSettings settings_{"500", "39", "16", "", NoPause};
    TBarLines barLines_;
    TBarTable bars_;
    TChartModel chart_;
};

// The judge checks the shape of a complete run (994 points on the first close wave, 497 on the
// other wave lines, an empty provisional line) and that Series20 and Series21 keep their points.
TEST_F(MakeWavesRunTest, ACompleteRunDrawsTheWavesWithTicksAndTheCandles) {
    ChooseFile(1900);
    chart_.Series20().AppendPoint(1.0, 2.0, "", TPointColor());
    chart_.ZoomTo(TChartRanges{{0, 1}, {0, 1}});
    ASSERT_EQ(Run(chart_, settings_), "complete 500");
    EXPECT_FALSE(chart_.Zoom()) << "a run starts on automatic scales";
    const std::vector<TSeriesContent> chart = ChartContent(chart_);
    ASSERT_EQ(chart[2].size(), 994u);
    ASSERT_EQ(chart[3].size(), 497u);

    const int N = 500;
    const TSeries close1 = WaveComponent(bars_.BarClose, N, 39, 5, 0);
    const TSeries close2 = WaveComponent(bars_.BarClose, N, 16, 5, 0);
    const TSeries open1 = WaveComponent(bars_.BarOpen, N, 39, 5, 1);
    const TSeries open2 = WaveComponent(bars_.BarOpen, N, 16, 5, 1);
    const double p = PointsToPrice(generated_.back().close);
    int ups = 0;
    int downs = 0;
    for (int i = 0; i < N; ++i) {
        const TGeneratedBar& bar = generated_[static_cast<std::size_t>(1400 + i)];
        EXPECT_EQ(chart[4][static_cast<std::size_t>(i)],
                  (std::vector<double>{static_cast<double>(i), PointsToPrice(bar.open),
                                       PointsToPrice(bar.high), PointsToPrice(bar.low),
                                       PointsToPrice(bar.close)}));
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
        using P = std::vector<double>;
        EXPECT_EQ(chart[2][2 * k], (up ? P{x, w + 0.001 * w, Lime} : P{x, w, NoColor})) << i;
        EXPECT_EQ(chart[2][2 * k + 1], (down ? P{x, w - 0.001 * w, Red} : P{x, w, NoColor})) << i;
        EXPECT_EQ(chart[3][k], (P{x, close2[i], NoColor})) << i;
        EXPECT_EQ(chart[5][k], (P{x, 3 * open1[i] + p - 0.01 * p, NoColor})) << i;
        EXPECT_EQ(chart[6][k], (P{x, 3 * open2[i] + p - 0.01 * p, NoColor})) << i;
    }
    EXPECT_GT(ups, 0);
    EXPECT_GT(downs, 0);
    EXPECT_LT(ups + downs, N - 3) << "some rows where the close waves disagree";
}

TEST_F(MakeWavesRunTest, ABarCountThatIsNotAnIntegerEscapesBeforeAnythingIsRead) {
    ChooseFile(1900);
    barLines_[0] = "before";
    settings_.barCountText = "5OO";
    EXPECT_EQ(Run(chart_, settings_), "error box: '5OO' is not a valid integer value");
    EXPECT_EQ(barLines_[0], "before");
}

// A run that fails after the read keeps the closes handed over before the failure on the
// provisional line; every other series keeps what the run before left, the start content before
// the first complete run.
TEST_F(MakeWavesRunTest, AFailureAfterTheReadLeavesTheProvisionalCloseLine) {
    const struct {
        const char* name;
        int lines;
        const char* texts[3]; // bar count, W1, W2
        int firstClose;
        int lastClose;
        const char* trailer = "";
        char separator = '.';
    } cases[] = {
        {"W1 not an integer", 1900, {"500", "x", "16"}, 1400, 1899},
        {"x is the line in a file longer than the store", 10500, {"500", "x", "16"}, 10000, 10499},
        {"W2 not an integer", 1900, {"500", "39", "sixteen"}, 1400, 1899},
        {"lag 0", 1900, {"500", "0", "16"}, 1400, 1899},
        {"lag above N", 1900, {"500", "501", "16"}, 1400, 1899},
        {"fewer lines than N", 400, {"500", "39", "16"}, 0, -1},
        {"N above 1000: the 1,001st close", 1500, {"1200", "39", "16"}, 300, 1300},
        {"bar count 0", 1900, {"0", "39", "16"}, 0, -1},
        {"a trailing empty line is the newest bar", 600, {"500", "39", "16"}, 101, 599, "\r\n"},
        {"a comma separator on a file of points", 1900, {"500", "39", "16"}, 0, -1, "", ','},
    };
    for (bool afterACompleteRun : {false, true}) {
        for (const auto& c : cases) {
            TChartModel chart;
            if (afterACompleteRun) {
                ChooseFile(1900);
                ASSERT_EQ(Run(chart, settings_), "complete 500");
            }
            ChooseFile(c.lines, c.trailer);
            const TRunSettings failing{c.texts[0], c.texts[1], c.texts[2], settings_.sourceFilePath,
                                       TReadSettings{c.separator, std::chrono::milliseconds(0)}};
            const int closes = c.lastClose - c.firstClose + 1;
            EXPECT_EQ(Run(chart, failing), "silent " + std::to_string(closes)) << c.name;
            EXPECT_EQ(ChartContent(chart)[0], Closes(c.firstClose, c.lastClose)) << c.name;
        }
    }
}

} // namespace
} // namespace quillon
