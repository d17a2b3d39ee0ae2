// "Follow file": a writer rewrites the chosen file with a new newest bar, and the chart follows
// while the box is checked. How the file is watched (rewrites in pieces, a file deleted and written
// anew, one held past settling) is the live pipeline's test.

#include <QCheckBox>
#include <QLabel>
#include <QTableView>

#include "tests/ui/FormsFixture.h"
#include "ui/watch/WatchListModel.h"

namespace quillon::testing_ui {
namespace {

class FollowTest : public FormsFixture {
protected:
    // Version k of the file: 600 bars, the newest of them new in each version.
    std::string Version(int k) {
        return BarFileText(std::vector(bars_.begin() + k, bars_.begin() + k + 600));
    }
    double NewestCloseOf(int k) {
        return PointsToPrice(bars_[static_cast<std::size_t>(k) + 599].close);
    }
    double NewestClose() { return Series().Series17().Candles().back().close; }
    bool Shows(int k) {
        return QTest::qWaitFor([&] { return NewestClose() == NewestCloseOf(k); }, 5000);
    }

    std::vector<TGeneratedBar> bars_ = GenerateBars({.barCount = 610});
};

// Follow checked and the watch list listing: each rewrite is read and run once, off the window's
// thread, and the chart and the file's row show that one run.
TEST_F(FollowTest, EachRewriteIsRunOnceForTheChartAndTheWatchList) {
    const QString chosen = BarFile(QStringLiteral("files"), Version(0));
    const std::string file = QFile::encodeName(chosen).toStdString();
    ChooseFile(chosen);
    Find<QCheckBox>("FollowFile")->click();
    const TChartRanges zoom{{350, 510}, {1.07, 1.085}};
    Series().ZoomTo(zoom);
    const QAbstractItemModel& rows = *Find<QTableView>("WatchList")->model();
    const auto rowClose = [&] {
        return rows.rowCount() == 1 ? rows.index(0, TWatchListModel::CloseColumn).data().toDouble()
                                    : 0.0;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return rowClose() == NewestCloseOf(0); }, 5000));
    const int runsBefore = watchedRuns_;
    EXPECT_EQ(runsBefore, 0) << "the choice's click is the file's run for the watch list too";
    for (int k = 1; k <= 3; ++k) {
        WriteTextFile(file, Version(k));
        EXPECT_TRUE(Shows(k)) << k;
        EXPECT_TRUE(QTest::qWaitFor([&] { return rowClose() == NewestCloseOf(k); }, 5000)) << k;
    }
    QTest::qWait(300);
    EXPECT_EQ(watchedRuns_ - runsBefore, 3) << "one read and one run a rewrite";
    EXPECT_EQ(Series().Zoom(), zoom);
    EXPECT_TRUE(Find<QLabel>("RunStatus")->text().startsWith(QStringLiteral("followed ")));
    SaveScreenshot(form1_, QStringLiteral("main-window-following"));

    // A bad bar count: the click says it in its box, the followed runs on the chart.
    SetText("Edit3", QStringLiteral("x"));
    Click("Button1");
    WriteTextFile(file, Version(4));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Find<QLabel>("RunStatus")->toolTip().endsWith("value (Load bars to wave)"); },
        5000));
    EXPECT_EQ(errors_, QStringList{QStringLiteral("'x' is not a valid integer value.")});
    SetText("Edit3", QStringLiteral("500"));
    Click("Button1");
    EXPECT_TRUE(Shows(4));

    // Unchecked, a rewrite leaves the chart alone; a click during one waits for it and shows it.
    Find<QCheckBox>("FollowFile")->click();
    EXPECT_FALSE(Find("RunStatus")->isVisible());
    WriteTextFile(file, Version(5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return rowClose() == NewestCloseOf(5); }, 5000));
    EXPECT_EQ(NewestClose(), NewestCloseOf(4));
    WriteTextFile(file, Version(6));
    Click("Button1");
    EXPECT_EQ(NewestClose(), NewestCloseOf(6));

    // W1 alone changed and clicked between two followed rewrites: the next is run with it, its
    // second close wave as before.
    Find<QCheckBox>("FollowFile")->click();
    SetText("Edit1", QStringLiteral("20"));
    Click("Button1");
    WriteTextFile(file, Version(7));
    ASSERT_TRUE(Shows(7));
    TRun cold;
    WorkOutRun(file, {500, 20, 16}, {}, cold);
    const std::vector<TLinePoint>& wave1 = Series().LineSeries3().Points();
    const std::vector<TLinePoint>& wave2 = Series().LineSeries4().Points();
    ASSERT_EQ(wave2.size(), 497u);
    EXPECT_EQ(wave2.back().y, cold.Waves().CloseWave2()[499]);
    int plain = 499; // a row whose first close wave carries no spike, both its points on the wave
    while (cold.MarkAt(plain) != TTick::None) {
        --plain;
    }
    EXPECT_EQ(wave1.at(2 * static_cast<std::size_t>(plain - 3)).y,
              cold.Waves().CloseWave1()[plain]);
}

} // namespace
} // namespace quillon::testing_ui
