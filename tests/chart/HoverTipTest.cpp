#include <gtest/gtest.h>

#include "chart/HoverTip.h"
#include "chart/Zoom.h"

namespace quillon {
namespace {

TEST(HoverTipTest, TextIsXAndClose) {
    const TCandle candle{17, 1.2290, 1.2330, 1.2270, 1.2310, std::nullopt};
    EXPECT_EQ(HoverTipText(candle, TNumberSeparators{".", ","}), "17 1.231");
    EXPECT_EQ(HoverTipText(candle, TNumberSeparators{",", "."}), "17 1,231");
    const TCandle far{1234, 1, 2, 0.5, 1.234567, std::nullopt};
    EXPECT_EQ(HoverTipText(far, TNumberSeparators{".", ","}), "1,234 1.23457");
}

TEST(HoverTipTest, ShowsNewTextsOnceAndHidesOffTheCandles) {
    THoverTip tip;
    EXPECT_EQ(tip.Update(std::nullopt), TTipAction::None);
    EXPECT_EQ(tip.Update("17 1.231"), TTipAction::Show);
    EXPECT_EQ(tip.HintText(), "17 1.231");
    EXPECT_EQ(tip.Update("17 1.231"), TTipAction::None);
    EXPECT_EQ(tip.Update("18 1.232"), TTipAction::Show);
    EXPECT_EQ(tip.HintText(), "18 1.232");
    EXPECT_EQ(tip.Update(std::nullopt), TTipAction::Hide);
    EXPECT_EQ(tip.HintText(), "");
    EXPECT_EQ(tip.Update(std::nullopt), TTipAction::None);
    EXPECT_EQ(tip.Update("18 1.232"), TTipAction::Show);
}

TEST(ZoomTest, DragDirectionAndLength) {
    struct TCase {
        int toColumn, toRow;
        TDragAction action;
    };
    const TCase cases[] = {
        {116, 216, TDragAction::ZoomIn},   {150, 300, TDragAction::ZoomIn},
        {115, 250, TDragAction::None},     {150, 215, TDragAction::None},
        {84, 184, TDragAction::ZoomReset}, {50, 20, TDragAction::ZoomReset},
        {85, 150, TDragAction::None},      {150, 150, TDragAction::None},
        {50, 250, TDragAction::None},      {100, 200, TDragAction::None},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ClassifyDrag(100, 200, c.toColumn, c.toRow), c.action)
            << c.toColumn << "," << c.toRow;
    }
}

TEST(ZoomTest, RangesUnderADraggedRectangle) {
    TChartLayout layout;
    layout.x.emplace(TValueRange{0, 100}, 0, 100);
    layout.y.emplace(TValueRange{1, 2}, 100, 0);
    const TChartRanges ranges = RangesUnder(layout, TPixelRect{20, 10, 60, 50});
    EXPECT_DOUBLE_EQ(ranges.x.low, 20);
    EXPECT_DOUBLE_EQ(ranges.x.high, 60);
    EXPECT_DOUBLE_EQ(ranges.y.low, 1.5);
    EXPECT_DOUBLE_EQ(ranges.y.high, 1.9);
}

} // namespace
} // namespace quillon
