#include <gtest/gtest.h>

#include "chart/HoverTip.h"
#include "chart/Zoom.h"

namespace quillon {
namespace {

TEST(HoverTipTest, TextIsXAndClose) {
    const TCandle candle{17, 1.2290, 1.2330, 1.2270, 1.2310, std::nullopt};
    EXPECT_EQ(HoverTipText(candle, {",", "."}), "17 1,231");
    const TCandle far{1234, 1, 2, 0.5, 1.234567, std::nullopt};
    EXPECT_EQ(HoverTipText(far, {".", ","}), "1,234 1.23457");
}

TEST(HoverTipTest, ShowsNewTextsOnceAndHidesOffTheCandles) {
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

TEST(ZoomTest, DragDirectionAndLength) {
    struct TCase {
        int toColumn, toRow;
        TDragAction action;
    };
    // From (100, 200); 16 pixels both ways is the least that counts.
    const TCase cases[] = {
        {116, 216, TDragAction::ZoomIn}, {115, 250, TDragAction::None},
        {150, 215, TDragAction::None},   {84, 184, TDragAction::ZoomReset},
        {85, 150, TDragAction::None},    {50, 185, TDragAction::None},
        {50, 250, TDragAction::None},    {150, 150, TDragAction::None},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ClassifyDrag(100, 200, c.toColumn, c.toRow), c.action)
            << c.toColumn << "," << c.toRow;
    }
}

} // namespace
} // namespace quillon
