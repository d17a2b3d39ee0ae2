// The file selection and the Make-Waves run it starts.

#include <QWindow>

#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

using FileSelectionTest = FormsFixture;

TEST_F(FileSelectionTest, ChoosingAFileNamesItRunsOnItAndShowsTheChart) {
    // The label shows what follows the first lower-case experts folder, and nothing without one.
    const std::pair<const char*, const char*> cases[] = {
        {"experts/files", "files/EURUSD60.csv"},
        {"data", ""},
        {"Experts/files", ""},
        {"experts/old/experts/files", "old/experts/files/EURUSD60.csv"}};
    for (const auto& [folder, label] : cases) {
        Series().Series17().ClearPoints();
        const QString file = BarFile(folder, 600);
        ChooseFile(file);
        EXPECT_EQ(Label("Label1")->text(), label) << folder;
        EXPECT_EQ(form1_.windowTitle(), file);
        EXPECT_EQ(CandleCount(), 500u) << folder;
    }
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_TRUE(Chart()->isVisible());
    EXPECT_EQ(form1_.focusWidget(), Find("Button1"));
}

TEST_F(FileSelectionTest, TheTitleAndLabelShowThePathAsItIs) {
    const QString file = BarFile(QStringLiteral("experts/<b>x</b>[*]"), 600);
    ChooseFile(file);
    EXPECT_EQ(form1_.windowHandle()->title(), file);
    const auto* label = Label("Label1");
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->text(), "<b>x</b>[*]/EURUSD60.csv");
}

TEST_F(FileSelectionTest, AFailedRunStillShowsTheChartAndCancellingChangesNothing) {
    const QString file = BarFile("experts/files", 600);
    Type("Edit3", QStringLiteral("abc"));
    ChooseFile(file);
    EXPECT_EQ(errors_, QStringList{QStringLiteral("'abc' is not a valid integer value.")});
    EXPECT_TRUE(Chart()->isVisible());

    // The dialog offers the last name chosen; a cancel starts no run, which would report again.
    dialogAnswer_.reset();
    Click("Button2");
    EXPECT_EQ(presetNames_, (QStringList{QString(), file}));
    EXPECT_EQ(errors_.size(), 1);
    EXPECT_EQ(form1_.SourceFilePath(), file);
    EXPECT_EQ(form1_.windowTitle(), file);
    EXPECT_EQ(Label("Label1")->text(), "files/EURUSD60.csv");

    // The same file chosen again runs again.
    Type("Edit3", QStringLiteral("500"));
    ChooseFile(file);
    EXPECT_EQ(CandleCount(), 500u);
}

using MakeWavesTest = FormsFixture;

TEST_F(MakeWavesTest, ARunTakesTheChosenFileAndTheBoxesAsTheyStand) {
    ChooseFile(BarFile("experts/files"));
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window"));
    // The same, widened by the user, for the project's page.
    form1_.resize(760, 440);
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window-wide"));
    ASSERT_TRUE(errors_.isEmpty());
    // The newest 500 of the file's 1,900 bars.
    const std::vector<TGeneratedBar> bars = GenerateBars(TBarFileSettings{});
    const auto& candles = Series().Series17().Candles();
    ASSERT_EQ(candles.size(), 500u);
    EXPECT_EQ(candles.front().open, PointsToPrice(bars[1400].open));
    EXPECT_EQ(candles.back().close, PointsToPrice(bars.back().close));
    // The first close wave carries every point twice, for its rise and fall marks.
    EXPECT_EQ(Series().LineSeries3().Points().size(), 994u);
    for (const TLineSeries* wave :
         {&Series().LineSeries4(), &Series().Series18(), &Series().Series19()}) {
        ASSERT_EQ(wave->Points().size(), 497u) << wave->Name();
    }

    // W1 drives the first open wave and W2 the second: with W1 at W2's 16, the first is the
    // second of before.
    const double secondOpenWaveEnd = Series().Series19().Points().back().y;
    Type("Edit1", QStringLiteral("16"));
    Click("Button1");
    EXPECT_EQ(Series().Series18().Points().back().y, secondOpenWaveEnd);
    Type("Edit3", QStringLiteral("300"));
    Click("Button1");
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_EQ(CandleCount(), 300u);
}

} // namespace
} // namespace quillon::testing_ui
