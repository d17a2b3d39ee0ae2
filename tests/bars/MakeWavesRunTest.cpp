#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <tuple>
#include <vector>

#include "bars/MakeWavesRun.h"
#include "base/Errors.h"
#include "engine/WaveComponent.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

// Everything a run's outcome can be judged by, in a form that compares as a whole.
using TPointRecord = std::tuple<double, double, TPointColor>;
using TCandleRecord = std::tuple<double, double, double, double, double>;
struct TChartContent {
    std::vector<std::vector<TPointRecord>> lines;
    std::vector<TCandleRecord> candles;
    bool operator==(const TChartContent&) const = default;
};

TChartContent ContentOf(const TChartModel& chart) {
    TChartContent content;
    for (int s = 0; s < TChartModel::SeriesCount; ++s) {
        if (TChartModel::IsCandleSeries(s)) {
            continue;
        }
        std::vector<TPointRecord>& points = content.lines.emplace_back();
        for (const TLinePoint& p : chart.LineSeriesAt(s).Points()) {
            points.emplace_back(p.x, p.y, p.color);
        }
    }
    for (const TCandle& c : chart.Series17().Candles()) {
        content.candles.emplace_back(c.x, c.open, c.high, c.low, c.close);
    }
    return content;
}

class MakeWavesRunTest : public ::testing::Test {
protected:
    // A made-up bar file of barCount lines, chosen as the run's source.
    void ChooseFile(int barCount) {
        TBarFileSettings file;
        file.barCount = barCount;
        generated_ = GenerateBars(file);
        settings_.sourceFilePath = dir_.Write("EURUSD60.csv", BarFileText(generated_));
    }

    void Run() { MakeWavesRun(settings_, barLines_, bars_, chart_); }

    // The closes of the file's lines first .. last as the provisional close line holds them.
    std::vector<TPointRecord> CloseLine(int first, int last) const {
        std::vector<TPointRecord> points;
        for (int line = first; line <= last; ++line) {
            points.emplace_back(line,
                                PointsToPrice(generated_[static_cast<std::size_t>(line)].close),
                                TPointColor());
        }
        return points;
    }

    TTempDir dir_;
    std::vector<TGeneratedBar> generated_;
    TRunSettings settings_{"500", "39", "16", "", TReadSettings{'.', std::chrono::milliseconds(0)}};
    TBarLines barLines_;
    TBarTable bars_;
    TChartModel chart_;
};

TEST_F(MakeWavesRunTest, ACompleteRunRefillsSevenSeries) {
    ChooseFile(1900);
    chart_.Series20().AppendPoint(1.0, 2.0, "", TPointColor());
    Run();
    const std::vector<TLinePoint>& wave1 = chart_.LineSeries3().Points();
    EXPECT_TRUE(chart_.LineSeries1().Points().empty());
    EXPECT_TRUE(chart_.LineSeries2().Points().empty());
    ASSERT_EQ(wave1.size(), 994u);
    ASSERT_EQ(chart_.LineSeries4().Points().size(), 497u);
    ASSERT_EQ(chart_.Series18().Points().size(), 497u);
    ASSERT_EQ(chart_.Series19().Points().size(), 497u);
    ASSERT_EQ(chart_.Series17().Candles().size(), 500u);
    EXPECT_EQ(chart_.Series20().Points().size(), 1u) << "Series20 is not the run's";
    EXPECT_TRUE(chart_.Series21().Points().empty());

    const TChartContent content = ContentOf(chart_);
    for (int i = 0; i < 500; ++i) {
        const TGeneratedBar& bar = generated_[static_cast<std::size_t>(1400 + i)];
        EXPECT_EQ(content.candles[static_cast<std::size_t>(i)],
                  TCandleRecord(i, PointsToPrice(bar.open), PointsToPrice(bar.high),
                                PointsToPrice(bar.low), PointsToPrice(bar.close)));
    }
}

TEST_F(MakeWavesRunTest, TheLinesAreTheFourWavesWithTicksWhereBothCloseWavesAgree) {
    ChooseFile(1900);
    Run();
    const int N = 500;
    const TSeries close1 = WaveComponent(bars_.BarClose, N, 39, 5, 0);
    const TSeries close2 = WaveComponent(bars_.BarClose, N, 16, 5, 0);
    const TSeries open1 = WaveComponent(bars_.BarOpen, N, 39, 5, 1);
    const TSeries open2 = WaveComponent(bars_.BarOpen, N, 16, 5, 1);
    const double p = bars_.BarClose[N - 1];
    EXPECT_EQ(p, PointsToPrice(generated_.back().close));

    int ups = 0;
    int downs = 0;
    for (int i = 3; i < N; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 3);
        const TLinePoint& first = chart_.LineSeries3().Points()[2 * k];
        const TLinePoint& second = chart_.LineSeries3().Points()[2 * k + 1];
        const double w = close1[i];
        const bool up = close1[i - 1] > close1[i - 2] && close2[i - 1] > close2[i - 2];
        const bool down = close1[i - 1] < close1[i - 2] && close2[i - 1] < close2[i - 2];
        ups += up;
        downs += down;
        EXPECT_EQ(TPointRecord(first.x, first.y, first.color),
                  up ? TPointRecord(i, w + 0.001 * w, clLime) : TPointRecord(i, w, TPointColor()))
            << "row " << i;
        EXPECT_EQ(TPointRecord(second.x, second.y, second.color),
                  down ? TPointRecord(i, w - 0.001 * w, clRed) : TPointRecord(i, w, TPointColor()))
            << "row " << i;
        const auto pointAt = [k](const TLineSeries& series) {
            const TLinePoint& point = series.Points()[k];
            return TPointRecord(point.x, point.y, point.color);
        };
        EXPECT_EQ(pointAt(chart_.LineSeries4()), TPointRecord(i, close2[i], TPointColor()));
        EXPECT_EQ(pointAt(chart_.Series18()),
                  TPointRecord(i, 3 * open1[i] + p - 0.01 * p, TPointColor()));
        EXPECT_EQ(pointAt(chart_.Series19()),
                  TPointRecord(i, 3 * open2[i] + p - 0.01 * p, TPointColor()));
    }
    EXPECT_GT(ups, 0);
    EXPECT_GT(downs, 0);
    EXPECT_LT(ups + downs, N - 3) << "some rows where the close waves disagree";
}

TEST_F(MakeWavesRunTest, TwoRunsOnTheSameFileGiveTheSameChart) {
    ChooseFile(1900);
    Run();
    const TChartContent first = ContentOf(chart_);
    Run();
    EXPECT_EQ(ContentOf(chart_), first);
}

TEST_F(MakeWavesRunTest, ABarCountThatIsNotAnIntegerEscapesBeforeAnythingIsRead) {
    ChooseFile(1900);
    barLines_[0] = "before";
    const TChartContent before = ContentOf(chart_);
    settings_.barCountText = "5OO";
    try {
        Run();
        ADD_FAILURE() << "the run took '5OO' as a bar count";
    } catch (const IntegerConversionError& error) {
        EXPECT_STREQ(error.what(), "'5OO' is not a valid integer value");
    }
    EXPECT_EQ(barLines_[0], "before");
    EXPECT_EQ(ContentOf(chart_), before);
}

// A run that fails after the load leaves the whole provisional close line; every other series keeps
// what the run before left, the start content before the first complete run.
TEST_F(MakeWavesRunTest, AFailureAfterTheLoadLeavesTheProvisionalCloseLine) {
    struct TCase {
        const char* lag1;
        const char* lag2;
    };
    const TCase cases[] = {{"x", "16"},   {"39", "sixteen"}, {"0", "16"},
                           {"39", "102"}, {"501", "16"},     {"-1", "16"}};
    ChooseFile(1900);
    for (bool afterACompleteRun : {false, true}) {
        for (const TCase& c : cases) {
            TChartModel chart;
            if (afterACompleteRun) {
                MakeWavesRun(settings_, barLines_, bars_, chart);
            }
            TChartContent expected = ContentOf(chart);
            expected.lines[0] = CloseLine(1400, 1899);

            TRunSettings failing = settings_;
            failing.lag1Text = c.lag1;
            failing.lag2Text = c.lag2;
            EXPECT_NO_THROW(MakeWavesRun(failing, barLines_, bars_, chart));
            EXPECT_EQ(ContentOf(chart), expected) << c.lag1 << ", " << c.lag2;
        }
    }
}

TEST_F(MakeWavesRunTest, AFailingLoadLeavesTheClosesLoadedBeforeIt) {
    struct TCase {
        const char* name;
        int lines;
        const char* barCount;
        int firstClose;
        int lastClose;
    };
    const TCase cases[] = {
        {"fewer lines than N", 400, "500", 0, -1},
        {"N above 1000", 1500, "1200", 300, 1300},
        {"bar count 0", 1900, "0", 0, -1},
    };
    for (const TCase& c : cases) {
        ChooseFile(c.lines);
        settings_.barCountText = c.barCount;
        TChartContent expected = ContentOf(chart_);
        expected.lines[0] = CloseLine(c.firstClose, c.lastClose);
        Run();
        EXPECT_EQ(ContentOf(chart_), expected) << c.name;
    }
}

TEST_F(MakeWavesRunTest, WithoutAFileTheRunStopsSilently) {
    TChartContent expected = ContentOf(chart_);
    expected.lines[0].clear();
    Run();
    EXPECT_EQ(ContentOf(chart_), expected);
    settings_.sourceFilePath = dir_.Path("gone.csv");
    Run();
    EXPECT_EQ(ContentOf(chart_), expected);
}

TEST_F(MakeWavesRunTest, ThreeBarsGiveThreeCandlesAndNoLinePoints) {
    ChooseFile(100);
    settings_.barCountText = "3";
    for (const char* lag1 : {"1", "2", "3"}) {
        for (const char* lag2 : {"1", "3"}) {
            settings_.lag1Text = lag1;
            settings_.lag2Text = lag2;
            Run();
            const TChartContent content = ContentOf(chart_);
            ASSERT_EQ(content.candles.size(), 3u) << lag1 << ", " << lag2;
            EXPECT_EQ(std::get<0>(content.candles[2]), 2.0);
            for (const std::vector<TPointRecord>& line : content.lines) {
                EXPECT_TRUE(line.empty()) << lag1 << ", " << lag2;
            }
        }
    }
}

} // namespace
} // namespace quillon
