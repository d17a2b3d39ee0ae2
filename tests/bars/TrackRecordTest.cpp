#include <gtest/gtest.h>

#include <vector>

#include "bars/TrackRecord.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

constexpr TTick N = TTick::None;
constexpr TTick U = TTick::Up;
constexpr TTick D = TTick::Down;

// Nine bars of a 5-digit file, worked out by hand: the turn up at bar 1 opens a long trade at
// 1.00010; the turn up at bar 4 is in the held direction; the turn down at bar 5 closes it at
// 1.00050 (+40) and opens a short one, which the turn up at bar 7 closes at 1.00045 (+5); the long
// trade opened there is still open at the newest bar, whose own mark makes no turn, and is worth
// +15 at its close.
const std::vector<TTick> Marks{N, U, U, N, U, D, D, U, D};
const std::vector<double> Closes{1.00000, 1.00010, 1.00020, 1.00005, 1.00030,
                                 1.00050, 1.00040, 1.00045, 1.00060};

TEST(TrackRecordTest, TradesOfPinnedTurnsStopAndReverse) {
    const std::vector<TTrade> trades = TradesOf(Marks, Closes, 5);
    ASSERT_EQ(trades.size(), 3u);
    EXPECT_EQ(trades[0].direction, U);
    EXPECT_EQ(trades[0].openedBar, 1);
    EXPECT_EQ(trades[0].closedBar, 5);
    EXPECT_EQ(trades[0].points, 40);
    EXPECT_EQ(trades[1].direction, D);
    EXPECT_EQ(trades[1].closedBar, 7);
    EXPECT_EQ(trades[1].points, 5);
    EXPECT_EQ(trades[2].openedBar, 7);
    EXPECT_FALSE(trades[2].closedBar);
    EXPECT_EQ(trades[2].points, 15);

    const TRecordSummary summary = SummaryOf(trades);
    EXPECT_EQ(summary.trades, 2);
    EXPECT_EQ(summary.won, 2);
    EXPECT_EQ(summary.points, 45);
    EXPECT_FALSE(summary.profitFactor) << "no loss";
    EXPECT_EQ(summary.drawdown, 0);
    EXPECT_EQ(summary.openDirection, U);
    EXPECT_EQ(summary.openPoints, 15);
    EXPECT_EQ(RunningTotal(trades, Closes, 5),
              (std::vector<std::int64_t>{0, 0, 10, -5, 20, 40, 50, 45, 60}));
}

// A spread of 10 points a trade: +30, then a loss of 5, and the open trade +5.
TEST(TrackRecordTest, ASpreadComesOffEveryTradeTheOpenOneIncluded) {
    const std::vector<TTrade> trades = TradesOf(Marks, Closes, 5, 10);
    const TRecordSummary summary = SummaryOf(trades);
    EXPECT_EQ(summary.trades, 2);
    EXPECT_EQ(summary.won, 1);
    EXPECT_EQ(summary.points, 25);
    EXPECT_DOUBLE_EQ(summary.profitFactor.value_or(0), 6.0);
    EXPECT_EQ(summary.drawdown, 5);
    EXPECT_EQ(summary.openPoints, 5);
    EXPECT_DOUBLE_EQ(summary.MeanPoints().value_or(0), 12.5);
}

TEST(TrackRecordTest, PointsAndTheWilsonInterval) {
    EXPECT_EQ(PriceDecimals("1.07354", '.'), 5);
    EXPECT_EQ(PriceDecimals("150.123", '.'), 3);
    EXPECT_EQ(PriceDecimals("150", '.'), 0);
    EXPECT_EQ(PriceDecimals("1,5", ','), 1);
    EXPECT_EQ(PointsBetween(1.07300, 1.07354, 5), 54);
    EXPECT_EQ(PointsBetween(150.100, 150.023, 3), -77);

    const TTempDir dir;
    TRun run;
    WorkOutRun(dir.Write("JPY.csv", "20240101,0000,150.1,150.123,150,150.02,1\r\n"
                                    "20240101,0100,150.02,150.2,150.01,150.1,1\r\n"),
               {2, 1, 1}, {}, run);
    EXPECT_EQ(PointDigitsOf(run), 3);

    const std::optional<TShareInterval> interval = WilsonInterval(6, 17);
    ASSERT_TRUE(interval);
    EXPECT_NEAR(interval->low, 0.173, 5e-4);
    EXPECT_NEAR(interval->high, 0.587, 5e-4);
    EXPECT_FALSE(WilsonInterval(0, 0));
}

} // namespace
} // namespace quillon
