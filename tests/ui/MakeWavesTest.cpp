#include "tests/ui/FormsFixture.h"
#include "tools/BarFileGenerator.h"

namespace quillon::testing_ui {
namespace {

using MakeWavesTest = TerminalFileFixture;

TEST_F(MakeWavesTest, ARunOnTheChosenFileFillsTheSeriesForTheNewestBars) {
    ChooseFile(terminalFile_);
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window"));
    // The same, widened by the user, for the project's page.
    form1_.resize(760, 440);
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window-wide"));
    ASSERT_TRUE(errors_.isEmpty());
    TChartModel& model = Series();
    const auto& candles = model.Series17().Candles();
    ASSERT_EQ(candles.size(), 500u);
    EXPECT_EQ(candles.front().x, 0.0);
    EXPECT_EQ(candles.back().x, 499.0);
    const std::vector<TGeneratedBar> bars = GenerateBars(TBarFileSettings{});
    ASSERT_EQ(bars.size(), 1900u);
    EXPECT_EQ(candles.front().open, PointsToPrice(bars[1400].open));
    EXPECT_EQ(candles.back().close, PointsToPrice(bars.back().close));
    EXPECT_EQ(model.LineSeries3().Points().size(), 994u);
    for (TLineSeries* wave : {&model.LineSeries4(), &model.Series18(), &model.Series19()}) {
        ASSERT_EQ(wave->Points().size(), 497u) << wave->Name();
        EXPECT_EQ(wave->Points().front().x, 3.0) << wave->Name();
    }
    for (TLineSeries* empty :
         {&model.LineSeries1(), &model.LineSeries2(), &model.Series20(), &model.Series21()}) {
        EXPECT_TRUE(empty->Points().empty()) << empty->Name();
    }
}

TEST_F(MakeWavesTest, MakeWavesTakesTheBoxesAsTheyStandNow) {
    ChooseFile(terminalFile_);
    Type("Edit3", QStringLiteral("300"));
    Type("Edit2", QStringLiteral("12"));
    Click("Button1");
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_EQ(Series().Series17().Candles().size(), 300u);
    EXPECT_EQ(Series().LineSeries4().Points().size(), 297u);
}

} // namespace
} // namespace quillon::testing_ui
