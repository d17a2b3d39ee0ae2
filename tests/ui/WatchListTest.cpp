// The "Watch list" page: a row for each bar file of the chosen file's folder, kept current as the
// files come, are rewritten and go.

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>

#include "tests/ui/FormsFixture.h"
#include "ui/watch/WatchListModel.h"

namespace quillon::testing_ui {
namespace {

using Model = TWatchListModel;

class WatchListTest : public FormsFixture {
protected:
    QTableView& View() { return *Find<QTableView>("WatchList"); }
    int RowOf(const QString& file) {
        for (int row = 0; row < View().model()->rowCount(); ++row) {
            if (Cell(row, Model::FileColumn) == file) {
                return row;
            }
        }
        return -1;
    }
    QString Cell(int row, int column) {
        return View().model()->index(row, column).data().toString();
    }
    QString Cell(const QString& file, int column) {
        const int row = RowOf(file);
        return row < 0 ? QStringLiteral("(no row)") : Cell(row, column);
    }
    // The newest bar's date, time and close as the file writes them.
    static QStringList Newest(const std::vector<TGeneratedBar>& bars) {
        const QStringList fields = QString::fromStdString(BarLineText(bars.back())).split(',');
        return {fields[0], fields[1], fields[5]};
    }
    QStringList NewestShown(const QString& file) {
        return {Cell(file, Model::DateColumn), Cell(file, Model::TimeColumn),
                Cell(file, Model::CloseColumn)};
    }
    std::string PathOf(const QString& name) {
        return QFile::encodeName(folder_.filePath(QStringLiteral("files/") + name)).toStdString();
    }
    static bool Eventually(const std::function<bool()>& done) {
        return QTest::qWaitFor(done, 10000);
    }

    std::vector<TGeneratedBar> gbp_ =
        GenerateBars({.barCount = 1902, .seed = 2, .periodMinutes = 15});
    std::vector<TGeneratedBar> Gbp(int k) { return {gbp_.begin() + k, gbp_.begin() + k + 1900}; }
};

TEST_F(WatchListTest, RowsComeChangeAndGoWithTheFolderAndADoubleClickChoosesTheFile) {
    auto* pages = Find<QTabWidget>("PageControl1");
    EXPECT_EQ(pages->currentWidget(), Find("TabSheet1"));
    const QString chosen = BarFile(QStringLiteral("files"));
    WriteQuietFile(PathOf("GBPUSD15.csv"), BarFileText(Gbp(0)));
    WriteQuietFile(PathOf("usdjpy1440.CSV"), BarFileText(TBarFileSettings{.seed = 3}));
    WriteQuietFile(PathOf("short.csv"), BarFileText(TBarFileSettings{.barCount = 100}));
    WriteQuietFile(PathOf("notes.txt"), BarFileText(TBarFileSettings{.seed = 4}));
    ChooseFile(chosen);
    ASSERT_TRUE(Eventually([&] { return View().model()->rowCount() == 4; }));
    EXPECT_EQ(NewestShown("EURUSD60.csv"), Newest(GenerateBars({})));
    const QStringList symbolPeriods{
        Cell("EURUSD60.csv", Model::SymbolColumn), Cell("EURUSD60.csv", Model::PeriodColumn),
        Cell("usdjpy1440.CSV", Model::PeriodColumn), Cell("short.csv", Model::SymbolColumn)};
    EXPECT_EQ(symbolPeriods, QStringList({"EURUSD", "H1", "D1", ""}));
    // Freshest turn first: the fewest bars held among up and down marks, then mixed ones, then
    // the files that failed, each with its reason.
    const auto rank = [&](int row) {
        const QString mark = Cell(row, Model::MarksColumn);
        return std::pair(mark.isEmpty()    ? 2
                         : mark == "mixed" ? 1
                                           : 0,
                         Cell(row, Model::SinceTurnColumn).toInt());
    };
    for (int row = 1; row < 4; ++row) {
        EXPECT_LE(rank(row - 1), rank(row)) << row;
    }
    EXPECT_EQ(Cell(3, Model::FileColumn), "short.csv");
    EXPECT_TRUE(Cell(3, Model::FailureColumn).contains("100 lines"))
        << Cell(3, Model::FailureColumn).toStdString();

    // Rewritten, added, removed: no row goes but the removed file's. (How the files are watched
    // is the live pipeline's test.)
    QAbstractItemModel& rows = *View().model();
    ASSERT_TRUE(rows.setData(rows.index(RowOf("GBPUSD15.csv"), Model::NotifyColumn), Qt::Checked,
                             Qt::CheckStateRole));
    QSignalSpy removed(View().model(), &QAbstractItemModel::rowsRemoved);
    WriteTextFile(PathOf("GBPUSD15.csv"), BarFileText(Gbp(2)));
    EXPECT_TRUE(Eventually([&] { return NewestShown("GBPUSD15.csv") == Newest(Gbp(2)); }));
    WriteTextFile(PathOf("AUDCAD5.csv"),
                  BarFileText(TBarFileSettings{.barCount = 600, .periodMinutes = 5}));
    EXPECT_TRUE(Eventually([&] { return Cell("AUDCAD5.csv", Model::PeriodColumn) == "M5"; }));
    EXPECT_EQ(removed.size(), 0);
    ASSERT_EQ(::unlink(PathOf("usdjpy1440.CSV").c_str()), 0);
    EXPECT_TRUE(Eventually([&] { return RowOf("usdjpy1440.CSV") < 0; }));
    EXPECT_EQ(View().model()->rowCount(), 4);

    // A tick in a row's Notify box stays with its file through its rewrites.
    const auto ticked = [&](const QString& file) {
        return rows.index(RowOf(file), Model::NotifyColumn).data(Qt::CheckStateRole).toInt();
    };
    EXPECT_EQ(ticked("GBPUSD15.csv"), Qt::Checked);
    EXPECT_EQ(ticked("AUDCAD5.csv"), Qt::Unchecked);

    // A bar count takes effect at the click, not before.
    SetText("Edit3", QStringLiteral("700"));
    QTest::qWait(500);
    EXPECT_TRUE(Cell("AUDCAD5.csv", Model::FailureColumn).isEmpty());
    Click("Button1");
    EXPECT_TRUE(Eventually([&] { return Cell("AUDCAD5.csv", Model::FailureColumn) != ""; }));

    pages->setCurrentWidget(Find("WatchPage"));
    form1_.resize(900, 300);
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window-watch-list"));
    const QModelIndex gbp = View().model()->index(RowOf("GBPUSD15.csv"), Model::CloseColumn);
    // Qt Test's double click is the second click alone.
    QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, View().visualRect(gbp).center());
    QTest::mouseDClick(View().viewport(), Qt::LeftButton, {}, View().visualRect(gbp).center());
    EXPECT_EQ(form1_.SourceFilePath(), QFile::decodeName(PathOf("GBPUSD15.csv").c_str()));
    EXPECT_EQ(pages->currentWidget(), Find("TabSheet1"));
    EXPECT_EQ(CandleCount(), 700u);

    // A file of another folder lists that folder alone, whatever was under way in the first.
    WriteTextFile(PathOf("EURUSD60.csv"), BarFileText(TBarFileSettings{.seed = 5}));
    QTest::qWait(150);
    ChooseFile(BarFile(QStringLiteral("other")));
    EXPECT_TRUE(Eventually([&] { return View().model()->rowCount() == 1; }));
    QTest::qWait(300);
    EXPECT_EQ(View().model()->rowCount(), 1);
}

TEST_F(WatchListTest, ColumnsFitTheRowsOnceTheListIsFilledAndThenKeepTheUsersWidths) {
    // Dates as another exporter than the terminal's script writes them, longer than its own.
    std::vector<TGeneratedBar> bars = GenerateBars({});
    for (TGeneratedBar& bar : bars) {
        bar.date = bar.date.substr(0, 4) + '-' + bar.date.substr(4, 2) + '-' +
                   bar.date.substr(6, 2) + " UTC";
    }
    ChooseFile(BarFile(QStringLiteral("files"), BarFileText(bars)));
    ASSERT_TRUE(Eventually([&] { return View().model()->rowCount() == 1; }));
    const int cellMargins = 2 * (View().style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const int dateWidth =
        View().fontMetrics().horizontalAdvance(Cell("EURUSD60.csv", Model::DateColumn));
    EXPECT_TRUE(Eventually([&] {
        return View().columnWidth(Model::DateColumn) >= dateWidth + cellMargins;
    })) << View().columnWidth(Model::DateColumn)
        << " " << dateWidth;
    const int usersWidth = View().columnWidth(Model::DateColumn) + 23;
    View().setColumnWidth(Model::DateColumn, usersWidth);
    WriteTextFile(PathOf("GBPUSD15.csv"), BarFileText(Gbp(0)));
    ASSERT_TRUE(Eventually([&] { return View().model()->rowCount() == 2; }));
    QTest::qWait(100);
    EXPECT_EQ(View().columnWidth(Model::DateColumn), usersWidth);
}

TEST_F(WatchListTest, TrackRecordColumnsComeWithTheBoxSortByTheirNumbersAndGoAgain) {
    const QString chosen = BarFile(QStringLiteral("files"));
    WriteQuietFile(PathOf("GBPUSD15.csv"), BarFileText(TBarFileSettings{.seed = 2}));
    WriteQuietFile(PathOf("USDJPY60.csv"), BarFileText(TBarFileSettings{.seed = 4}));
    WriteQuietFile(PathOf("short.csv"), BarFileText(TBarFileSettings{.barCount = 100}));
    ChooseFile(chosen);
    ASSERT_TRUE(Eventually([&] { return View().model()->rowCount() == 4; }));
    EXPECT_TRUE(View().isColumnHidden(Model::PointsAtCloseColumn));

    auto* box = Find<QCheckBox>("TrackRecord");
    auto* progress = Find<QLabel>("TrackRecordProgress");
    EXPECT_EQ(box->text(), "Track record");
    box->click();
    // The failed file has nothing to work out.
    EXPECT_FALSE(progress->isHidden());
    EXPECT_EQ(progress->text(), "track record: 1 of 4 files");
    for (int column = Model::FirstTrackColumn; column < Model::ColumnCount; ++column) {
        EXPECT_FALSE(View().isColumnHidden(column)) << column;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->isHidden(); }, 60000));
    // At close, then in the chart: trades, points, profit factor.
    const auto figures = [&](const QString& file) {
        QStringList shown;
        for (int column = Model::FirstTrackColumn; column < Model::ColumnCount; ++column) {
            shown << Cell(file, column);
        }
        return shown.join(' ');
    };
    EXPECT_EQ(figures("EURUSD60.csv"), "11 +784 2.91 5 +1,875 no loss");
    EXPECT_EQ(figures("GBPUSD15.csv"), "17 -189 0.65 4 +388 no loss");
    EXPECT_EQ(figures("USDJPY60.csv"), "15 -69 0.85 7 +1,666 186.11");
    EXPECT_EQ(figures("short.csv"), "     ");
    const auto files = [&] {
        QStringList order;
        for (int row = 0; row < View().model()->rowCount(); ++row) {
            order << Cell(row, Model::FileColumn);
        }
        return order;
    };
    View().sortByColumn(Model::PointsAtCloseColumn, Qt::AscendingOrder);
    EXPECT_EQ(files(), QStringList({"GBPUSD15.csv", "USDJPY60.csv", "EURUSD60.csv", "short.csv"}));
    // Nothing lost is worth more than any factor, and a file without records comes last.
    View().sortByColumn(Model::FactorInChartColumn, Qt::AscendingOrder);
    EXPECT_EQ(files().first(), "USDJPY60.csv");
    EXPECT_EQ(files().last(), "short.csv");

    Find<QTabWidget>("PageControl1")->setCurrentWidget(Find("WatchPage"));
    form1_.resize(1500, 240);
    QTest::qWait(20);
    SaveScreenshot(form1_, QStringLiteral("main-window-watch-list-track-record"));

    // Unchecked, the columns go, the list is sorted as at first, and a rewritten file's run comes
    // without records.
    std::optional<bool> rewrittenHasRecords;
    QObject::connect(&form1_.Pipeline(), &TLivePipeline::RunFinished, &form1_,
                     [&](const TFileRun& run) {
                         if (run.path.endsWith(QStringLiteral("/GBPUSD15.csv"))) {
                             rewrittenHasRecords = run.trackRecords != nullptr;
                         }
                     });
    box->click();
    for (int column = Model::FirstTrackColumn; column < Model::ColumnCount; ++column) {
        EXPECT_TRUE(View().isColumnHidden(column)) << column;
    }
    EXPECT_EQ(View().horizontalHeader()->sortIndicatorSection(), Model::SinceTurnColumn);
    EXPECT_TRUE(progress->isHidden());
    WriteTextFile(PathOf("GBPUSD15.csv"), BarFileText(TBarFileSettings{.seed = 5}));
    ASSERT_TRUE(Eventually([&] { return rewrittenHasRecords.has_value(); }));
    EXPECT_FALSE(*rewrittenHasRecords);
}

// The keys the sorting proxy orders by, and a change of the first row announced as one.
TEST(WatchListModelTest, SortKeysRankWavesAndMarksAndAChangeOfRowZeroIsAnnounced) {
    const auto entry = [](const char* path, TTick mark, int held, TWaveDirection wave) {
        TWatchEntry e;
        e.row.path = path;
        e.row.mark = mark;
        e.row.barsSinceTurn = held;
        e.row.wave1 = wave;
        return e;
    };
    Model model;
    model.Put({entry("/a/R.csv", TTick::Up, 7, TWaveDirection::Rising),
               entry("/a/F.csv", TTick::None, 2, TWaveDirection::Flat),
               entry("/a/D.csv", TTick::Down, 4, TWaveDirection::Falling)});
    const auto keys = [&](int column) {
        QList<qint64> found;
        for (int row = 0; row < model.rowCount(); ++row) {
            found << model.index(row, column).data(Model::SortRole).toLongLong();
        }
        return found;
    };
    EXPECT_EQ(keys(Model::WaveColumn), QList<qint64>({0, 1, 2}));
    EXPECT_EQ(keys(Model::MarksColumn), QList<qint64>({0, 2, 1}));
    // Mixed marks after any run's bars, however few bars they have held.
    EXPECT_EQ(keys(Model::SinceTurnColumn), QList<qint64>({7, 1003, 4}));

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.Put({entry("/a/R.csv", TTick::Down, 1, TWaveDirection::Falling)});
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model.index(0, 0));
    EXPECT_EQ(changed[0][1].toModelIndex(), model.index(0, Model::ColumnCount - 1));
    EXPECT_EQ(model.index(0, Model::WaveColumn).data().toString(), "falling");
}

} // namespace
} // namespace quillon::testing_ui
