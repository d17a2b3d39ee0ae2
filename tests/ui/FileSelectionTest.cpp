#include <QDir>

#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

class FileSelectionTest : public TerminalFileFixture {
protected:
    std::size_t CandleCount() { return Series().Series17().Candles().size(); }
};

TEST_F(FileSelectionTest, ChoosingAFileNamesItRunsAndShowsTheChart) {
    ChooseFile(terminalFile_);
    EXPECT_EQ(form1_.SourceFilePath(), terminalFile_);
    EXPECT_EQ(form1_.windowTitle(), terminalFile_);
    EXPECT_EQ(Label("Label1")->text(), QStringLiteral("files/EURUSD60.csv"));
    EXPECT_TRUE(Chart()->isVisible());
    EXPECT_TRUE(Label("Label1")->isVisible());
    EXPECT_TRUE(Button("Button10")->isVisible());
    EXPECT_EQ(form1_.focusWidget(), Button("Button1"));
    EXPECT_EQ(CandleCount(), 500u);
    EXPECT_TRUE(errors_.isEmpty());
}

TEST_F(FileSelectionTest, FileLabelShowsOnlyWhatFollowsTheFirstLowerCaseExpertsFolder) {
    struct {
        const char* folder;
        const char* label;
    } const cases[] = {{"data", ""},
                       {"Experts/files", ""},
                       {"experts/old/experts/files", "old/experts/files/a.csv"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(QDir(folder_.path()).mkpath(QString::fromUtf8(c.folder)));
        const QString path = folder_.filePath(QString::fromUtf8(c.folder) + "/a.csv");
        WriteGeneratedBarFile(path, 600);
        Series().Series17().ClearPoints();
        ChooseFile(path);
        EXPECT_EQ(Label("Label1")->text(), QString::fromUtf8(c.label)) << c.folder;
        EXPECT_EQ(form1_.windowTitle(), path);
        EXPECT_EQ(CandleCount(), 500u) << "the run goes ahead for " << c.folder;
    }
}

TEST_F(FileSelectionTest, CancellingChangesNothingAndStartsNoRun) {
    ChooseFile(terminalFile_);
    // A run now would report the bar count.
    Type("Edit3", QStringLiteral("abc"));
    dialogAnswer_.reset();
    Click("Button2");
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_EQ(form1_.SourceFilePath(), terminalFile_);
    EXPECT_EQ(form1_.windowTitle(), terminalFile_);
    EXPECT_EQ(Label("Label1")->text(), QStringLiteral("files/EURUSD60.csv"));
    EXPECT_TRUE(Chart()->isVisible());
}

TEST_F(FileSelectionTest, DialogOffersTheLastChosenFileAndBothFilters) {
    ChooseFile(terminalFile_);
    ChooseFile(terminalFile_);
    EXPECT_EQ(presetNames_, (QStringList{QString(), terminalFile_}));
    EXPECT_EQ(form1_.OpenDialog1().Filters(),
              (QStringList{QStringLiteral("CSV (*.csv)"), QStringLiteral("TXT (*.txt)")}));
    EXPECT_FALSE(form1_.OpenDialog1().InitialDir().isEmpty());
}

TEST_F(FileSelectionTest, ChoosingTheSameFileAgainRunsAgain) {
    ChooseFile(terminalFile_);
    Series().Series17().ClearPoints();
    ChooseFile(terminalFile_);
    EXPECT_EQ(CandleCount(), 500u);
}

TEST_F(FileSelectionTest, AnErrorInTheRunIsReportedAndTheChartShownAllTheSame) {
    Type("Edit3", QStringLiteral("abc"));
    ChooseFile(terminalFile_);
    EXPECT_EQ(errors_, QStringList{QStringLiteral("'abc' is not a valid integer value.")});
    EXPECT_EQ(form1_.windowTitle(), terminalFile_);
    EXPECT_TRUE(Chart()->isVisible());
}

TEST_F(FileSelectionTest, MakeWavesBeforeAnyFileStopsSilentlyAndKeepsTheChartHidden) {
    const std::size_t candlesBefore = CandleCount();
    Click("Button1");
    EXPECT_TRUE(errors_.isEmpty());
    EXPECT_EQ(CandleCount(), candlesBefore);
    EXPECT_FALSE(Chart()->isVisible());
}

} // namespace
} // namespace quillon::testing_ui
