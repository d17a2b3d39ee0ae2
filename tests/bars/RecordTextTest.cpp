// The track record's figures in words, as the window, its watch list and the pictures show them.

#include <gtest/gtest.h>

#include <limits>

#include "bars/RecordText.h"

namespace quillon {
namespace {

TRecordSummary Summary(int trades, int won, std::int64_t points) {
    TRecordSummary summary;
    summary.trades = trades;
    summary.won = won;
    summary.winRate = WilsonInterval(won, trades);
    summary.points = points;
    return summary;
}

TEST(RecordTextTest, PointsDrawdownAndProfitFactor) {
    const std::pair<std::int64_t, const char*> points[] = {
        {0, "0"},
        {999, "+999"},
        {1000, "+1,000"},
        {-2262, "-2,262"},
        {1234567, "+1,234,567"},
        {std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"}};
    for (const auto& [value, text] : points) {
        EXPECT_EQ(PointsText(value), text);
    }
    EXPECT_EQ(DrawdownText(0), "0");
    EXPECT_EQ(DrawdownText(3227), "3,227");
    const std::pair<std::optional<double>, const char*> factors[] = {{std::nullopt, "no loss"},
                                                                     {0.0, "0.00"},
                                                                     {0.05, "0.05"},
                                                                     {0.39, "0.39"},
                                                                     {186.4, "186.40"}};
    for (const auto& [value, text] : factors) {
        EXPECT_EQ(ProfitFactorText(value), text);
    }
}

TEST(RecordTextTest, WinRateMeanAndOpenPosition) {
    const struct {
        TRecordSummary summary;
        const char* winRate;
        const char* mean;
    } cases[] = {{Summary(35, 12, 39), "12 of 35, 34 %, 95 %: 21-51 %", "+1.1"},
                 {Summary(17, 6, -1), "6 of 17, 35 %, 95 %: 17-59 %", "-0.1"},
                 {Summary(13, 0, -736), "0 of 13, 0 %, 95 %: 0-23 %", "-56.6"},
                 {Summary(1, 1, 12345), "1 of 1, 100 %, 95 %: 21-100 %", "+12,345.0"},
                 {Summary(0, 0, 0), "0 of 0", "none"}};
    for (const auto& c : cases) {
        EXPECT_EQ(WinRateText(c.summary), c.winRate);
        EXPECT_EQ(MeanPointsText(c.summary), c.mean) << c.winRate;
    }
    TRecordSummary open;
    EXPECT_EQ(OpenPositionText(open), "none");
    open.openDirection = TTick::Up;
    open.openPoints = 120;
    EXPECT_EQ(OpenPositionText(open), "up, +120");
    open.openDirection = TTick::Down;
    open.openPoints = -5;
    EXPECT_EQ(OpenPositionText(open), "down, -5");
}

} // namespace
} // namespace quillon
