#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "base/Errors.h"
#include "chart/Candles.h"
#include "chart/HoverTip.h"
#include "chart/Scales.h"

namespace quillon {
namespace {

TCandle Candle(double open, double close, TPointColor color = std::nullopt) {
    return TCandle{0, open, std::max(open, close), std::min(open, close), close, color};
}

TEST(CandlesTest, ColourRule) {
    const TColor own{1, 2, 3};
    const TColor series = PaletteColor2;
    const std::tuple<const char*, std::vector<TCandle>, TColor> cases[] = {
        {"own colour wins", {Candle(1, 1), Candle(1, 2, own)}, own},
        {"falling", {Candle(1, 1), Candle(2.0, 1.5)}, clRed},
        {"rising", {Candle(9, 9), Candle(1.5, 2.0)}, clWhite},
        {"flat first", {Candle(1.5, 1.5)}, clWhite},
        {"flat below previous close", {Candle(1, 2), Candle(1.5, 1.5)}, clRed},
        {"flat above previous close", {Candle(1, 1.2), Candle(1.5, 1.5)}, clWhite},
        {"flat at previous close", {Candle(1, 1.5), Candle(1.5, 1.5)}, series},
        {"flat at a coloured previous close", {Candle(1, 2, own), Candle(2, 2)}, own},
    };
    for (const auto& [name, candles, expected] : cases) {
        const int last = static_cast<int>(candles.size()) - 1;
        EXPECT_EQ(CandleColor(candles, last, series), expected) << name;
    }
    EXPECT_THROW(CandleColor(std::get<1>(cases[3]), 1, series), RangeCheckError);
}

// One pixel per 0.01 of price from row 100 (price 0) up; one column per x from column 0.
const TAxisMap X(TValueRange{0, 100}, 0, 100);
const TAxisMap Y(TValueRange{0, 1}, 100, 0);

TEST(CandlesTest, HitTest) {
    // Falling: open row 60 above close row 70. Rising: open row 70 below close row 60.
    const TCandleGeometry falling = CandleGeometryOf(TCandle{20, 0.4, 0.5, 0.1, 0.3, {}}, X, Y);
    const TCandleGeometry rising = CandleGeometryOf(TCandle{20, 0.3, 0.5, 0.1, 0.4, {}}, X, Y);
    const TCandleGeometry flat = CandleGeometryOf(TCandle{20, 0.3, 0.5, 0.1, 0.3, {}}, X, Y);
    // A body of 5 columns; a flat one keeps the row above its open.
    EXPECT_EQ((std::vector{rising.column, rising.highRow, rising.lowRow, rising.openRow,
                           rising.closeRow, rising.bodyLeft, rising.bodyRight, flat.closeRow}),
              (std::vector{20, 50, 90, 70, 60, 18, 22, 69}));
    const std::tuple<const char*, const TCandleGeometry&, int, int, bool> cases[] = {
        {"falling body, two left of the line", falling, 18, 65, true},
        {"rising body, two left of the line", rising, 18, 65, true},
        {"rising body's top row", rising, 22, 60, true},
        {"flat body's row above", flat, 18, 69, true},
        {"body box reaches one past the right edge", rising, 23, 65, true},
        {"two past the right edge", rising, 24, 65, false},
        {"one left of the body", rising, 17, 65, false},
        {"within a column of the line above the body", rising, 19, 55, true},
        {"on the line at the high row", rising, 21, 50, true},
        {"above the high row", rising, 20, 49, false},
        {"below the low row", falling, 20, 91, false},
        {"two columns off the line above the body", rising, 22, 55, false},
    };
    for (const auto& [name, candle, column, row, hit] : cases) {
        EXPECT_EQ(IsCandleHit(candle, column, row), hit) << name;
    }
}

TEST(CandlesTest, FirstHitWithinTheVisibleRangeWins) {
    const std::vector<TCandle> candles{
        {10, 0.3, 0.5, 0.1, 0.4, {}}, {12, 0.4, 0.5, 0.1, 0.3, {}}, {150, 0.4, 0.5, 0.1, 0.3, {}}};
    // Column 11 lies in both bodies; the lower index answers.
    EXPECT_EQ(CandleAt(candles, X, Y, 11, 65), 0);
    EXPECT_EQ(CandleAt(candles, X, Y, 14, 65), 1);
    EXPECT_EQ(CandleAt(candles, X, Y, 40, 65), std::nullopt);
    // Candle 2 lies beyond the x range; its pixels are not looked at.
    const TAxisMap pastEnd(TValueRange{0, 100}, -150, -50);
    EXPECT_EQ(CandleAt(candles, pastEnd, Y, 0, 65), std::nullopt);
}

TEST(HoverTipTest, TextIsXAndCloseShownOnceAndHiddenOffTheCandles) {
    EXPECT_EQ(HoverTipText(TCandle{17, 1.229, 1.233, 1.227, 1.231, {}}, {",", "."}), "17 1,231");
    EXPECT_EQ(HoverTipText(TCandle{1234, 1, 2, 0.5, 1.234567, {}}, {".", ","}), "1,234 1.23457");
    THoverTip tip;
    EXPECT_EQ(tip.Update(std::nullopt), TTipAction::None);
    EXPECT_EQ(tip.Update("17 1.231"), TTipAction::Show);
    EXPECT_EQ(tip.Update("17 1.231"), TTipAction::None);
    EXPECT_EQ(tip.Update("18 1.232"), TTipAction::Show);
    EXPECT_EQ(tip.HintText(), "18 1.232");
    EXPECT_EQ(tip.Update(std::nullopt), TTipAction::Hide);
    EXPECT_EQ(tip.HintText(), "");
    EXPECT_EQ(tip.Update(std::nullopt), TTipAction::None);
}

} // namespace
} // namespace quillon
