// The page "Track record": the chosen file's three records for the run the chart shows, worked out
// beside the window while the page is shown.

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>

#include "bars/MarksAtClose.h"
#include "bars/TrackRecord.h"
#include "chart/TrackFeed.h"
#include "tests/ui/FormsFixture.h"

namespace quillon::testing_ui {
namespace {

class TrackRecordPageTest : public FormsFixture {
protected:
    // The first `count` generated bars: a rewrite to count + 1 adds a bar.
    std::string FirstBars(int count) {
        return BarFileText(std::vector(bars_.begin(), bars_.begin() + count));
    }
    QStringList Cells() {
        auto* table = Find<QTableWidget>("TrackRecordTable");
        QStringList cells;
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 0; column < table->columnCount(); ++column) {
                cells << table->item(row, column)->text();
            }
        }
        return cells;
    }
    QString Heading() { return Find<QLabel>("TrackRecordHeading")->text(); }

    std::vector<TGeneratedBar> bars_ = GenerateBars({.barCount = 701});
};

// Followed, a rewrite that adds a bar shows on the page as a cold computation of the new file
// gives it: the chart's lines and the table's figures. A failed run leaves the page as it was.
TEST_F(TrackRecordPageTest, FollowsARewriteAsAColdComputationAndOutlastsAFailure) {
    const QString path = BarFile(QStringLiteral("files"), FirstBars(700));
    const std::string file = QFile::encodeName(path).toStdString();
    ChooseFile(path);
    Find<QCheckBox>("FollowFile")->click();
    auto* pages = Find<QTabWidget>("PageControl1");
    ASSERT_EQ(pages->tabText(2), QStringLiteral("Track record"));
    pages->setCurrentIndex(2);
    auto* working = Find<QLabel>("TrackRecordWorking");
    EXPECT_TRUE(working->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Heading().contains("700 lines"); }, 10000));
    EXPECT_FALSE(working->isVisible());
    WriteTextFile(file, FirstBars(701));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Heading().contains("701 lines"); }, 10000));
    EXPECT_EQ(Heading(), QStringLiteral("EURUSD60.csv: 500 bars of 701 lines, lags 39 and 16"));

    TRun run;
    WorkOutRun(file, {}, {}, run);
    const TMarksAtClose wholeFile = WholeFileMarksAtClose(run);
    const TTrackRecords records = TrackRecordsOf(run, LoadedBarsPart(run, wholeFile), &wholeFile);
    QStringList expected;
    for (const TTrackTableRow& row : TrackTable(records)) {
        for (const std::string& cell : row.cells) {
            expected << QString::fromStdString(cell);
        }
    }
    EXPECT_EQ(Cells(), expected);
    EXPECT_NE(expected.at(2), QString()) << "the whole file's trades";
    TChartModel cold(TrackChartLooks(), std::string(TrackAxisFormat));
    FeedTrackChart(records, cold);
    const TChartModel& shown = Find<TChart>("TrackRecordChart")->Model();
    ASSERT_EQ(shown.Layers().size(), cold.Layers().size());
    for (std::size_t layer = 0; layer < cold.Layers().size(); ++layer) {
        const std::vector<TLinePoint>& a = shown.Line(layer).Points();
        const std::vector<TLinePoint>& b = cold.Line(layer).Points();
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end(), [](auto& p, auto& q) {
            return p.x == q.x && p.y == q.y;
        })) << layer;
    }
    EXPECT_EQ(shown.Line(1).Points().size(), 701u) << "the whole file, line by line";

    WriteTextFile(file, FirstBars(100));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Find<QLabel>("RunStatus")->toolTip().contains("only 100 lines"); }, 5000));
    EXPECT_EQ(Cells(), expected);
    form1_.resize(760, 560);
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window-track-record"));
}

} // namespace
} // namespace quillon::testing_ui
