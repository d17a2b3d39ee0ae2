// The track record's chart and table, on records made by hand, and the line of the marks at close
// with the totals of their trades.

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "bars/MarksAtClose.h"
#include "chart/ChartFeed.h"
#include "chart/TrackFeed.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

using Points = std::vector<std::pair<double, double>>;

Points PointsOf(const TLineSeries& line) {
    Points points;
    for (const TLinePoint& point : line.Points()) {
        points.emplace_back(point.x, point.y);
    }
    return points;
}

// In the chart, at cent points: up at 1.10, reversed at 1.05 for -5, down held to the newest close
// 1.15, -10 open. The whole file has no trade and a line that could not be loaded (close 0).
TTrackRecords HandMadeRecords() {
    const TTick O = TTick::None, U = TTick::Up, D = TTick::Down;
    TTrackRecords records;
    records.digits = 2;
    records.chart.firstLine = 10;
    records.chart.closes = {1.00, 1.10, 1.05, 1.20, 1.15};
    const TTick marks[] = {O, U, D, D, U};
    records.chart.trades = TradesOf(marks, records.chart.closes, records.digits);
    records.chart.summary = SummaryOf(records.chart.trades);
    records.wholeFile.emplace();
    records.wholeFile->kind = TRecordKind::WholeFile;
    records.wholeFile->closes = {1.00, 0.0, 1.10};
    return records;
}

TEST(TrackFeedTest, RunningTotalsAgainstTheStoredLinesAndTheTable) {
    const std::vector<TLineLook> looks = TrackChartLooks();
    TChartModel chart(looks, std::string(TrackAxisFormat));
    chart.ZoomTo({{0, 1}, {0, 1}});
    const TTrackRecords records = HandMadeRecords();
    FeedTrackChart(records, chart);
    EXPECT_FALSE(chart.Zoom());
    EXPECT_EQ(chart.Candles(), nullptr);
    std::map<std::string, Points> lines;
    for (std::size_t layer = 0; layer < looks.size(); ++layer) {
        lines[chart.Line(layer).Name()] = PointsOf(chart.Line(layer));
    }
    EXPECT_EQ(lines["in the chart"], (Points{{10, 0}, {11, 0}, {12, -5}, {13, -20}, {14, -15}}));
    EXPECT_EQ(lines["at close"], Points{});
    EXPECT_EQ(lines["whole file"], (Points{{0, 0}, {2, 0}}));
    EXPECT_EQ(lines[""], (Points{{0, 0}, {14, 0}})) << "the zero line under them all";

    const std::vector<TTrackTableRow> table = TrackTable(records);
    ASSERT_EQ(table.size(), 8u);
    const std::pair<std::size_t, std::array<std::string, 3>> rows[] = {
        {0, {"1", "0", "0"}},          {2, {"0 of 1, 0 %, 95 %: 0-79 %", "0 of 0", "0 of 0"}},
        {4, {"-5.0", "none", "none"}}, {5, {"0.00", "none", "none"}},
        {6, {"5", "0", "0"}},          {7, {"down, -10", "none", "none"}}};
    for (const auto& [row, cells] : rows) {
        EXPECT_EQ(table[row].cells, cells) << table[row].title;
    }
    EXPECT_NE(TrackCaption(records).find("before costs"), std::string::npos);
    EXPECT_NE(TrackCaption(records).find(": 1, 0 and 0 trades"), std::string::npos);
}

// On a small file of wide bars, today's line, and with the records the totals of the trades at
// close and in the chart after it.
TEST(TrackFeedTest, TheLineOfTheMarksAtCloseWithTheTotals) {
    TTempDir dir;
    const std::string file = dir.Write(
        "EURUSD60.csv", BarFileText(TBarFileSettings{.barCount = 300, .stepPoints = 400}));
    TRun run;
    WorkOutRun(file, TRunNumbers{200, 20, 10}, {}, run);
    const TMarksAtClose marks = MarksAtClose(run);
    const TTrackRecords records = TrackRecordsOf(run, marks);
    const std::string today =
        "marks at close: 51 % agree with the chart; turns: 11 at close, 9 in the chart";
    EXPECT_EQ(MarksAtCloseSummary(run, marks), today);
    EXPECT_EQ(MarksAtCloseSummary(run, marks, &records),
              today + "; traded at close -2,302 points in 5 trades; in the chart +7,339 in 5");
    TTrackRecords one = records;
    one.atClose.summary.trades = 1;
    EXPECT_NE(MarksAtCloseSummary(run, marks, &one).find(" points in 1 trade;"), std::string::npos);
}

} // namespace
} // namespace quillon
