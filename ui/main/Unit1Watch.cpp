// The "Watch list" page: a row for each bar file of the chosen file's folder, kept current as the
// files are rewritten, sorted with the freshest turn first; with "Track record" checked, each row
// also says what its turns were worth, at close and in the chart.

#include <algorithm>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/main/Unit1.h"

namespace quillon {

namespace {

using TModel = TWatchListModel;

// The cell's text margins on both sides and its grid line, with a little to spare.
constexpr int CellRoom = 12;
// A title's margins and the sort arrow beside it.
constexpr int SortArrowRoom = 20;
// Room around the "Track record" box and its progress.
constexpr int BoxRowMargin = 4;

// As wide as the column's title or the widest text it usually shows, whichever is wider.
int TypicalWidth(const QTableView& view, int column) {
    static const char* const Widest[TModel::ColumnCount] = {
        "Notify",  "EURUSD10080.csv", "EURUSD", "MN1",     "20240102", "2300",
        "1.08000", "mixed",           "1000",   "falling", "",         "999",
        "+99,999", "999.99",          "999",    "+99,999", "999.99"};
    const int text = view.fontMetrics().horizontalAdvance(QString::fromUtf8(Widest[column]));
    const QHeaderView& header = *view.horizontalHeader();
    // The title's own hint leaves out the arrow of the column sorted by.
    const int title = header.fontMetrics().horizontalAdvance(
                          view.model()->headerData(column, Qt::Horizontal).toString()) +
                      SortArrowRoom;
    return std::max({text + CellRoom, title, header.sectionSizeHint(column)});
}

// Each column its typical width, before there are rows to measure; the reason of a failure,
// placed last, takes what is left.
void SizeColumns(QTableView& view) {
    QHeaderView& header = *view.horizontalHeader();
    for (int column = 0; column < TModel::ColumnCount; ++column) {
        header.resizeSection(column, TypicalWidth(view, column));
    }
    header.moveSection(header.visualIndex(TModel::FailureColumn), TModel::ColumnCount - 1);
    header.setStretchLastSection(true);
}

// The columns shown, the failure's aside, fitted to their titles and cells, but never narrower
// than their typical widths, for the rows that come later. Measuring every row is done once, when
// the list is first filled: at every change it would hold the window up while 250 files change.
void FitColumns(QTableView& view, int first, int last) {
    for (int column = first; column <= last; ++column) {
        if (column != TModel::FailureColumn && !view.isColumnHidden(column)) {
            view.resizeColumnToContents(column);
            view.setColumnWidth(column,
                                std::max(view.columnWidth(column), TypicalWidth(view, column)));
        }
    }
}

// "track record: 120 of 252 files" while records are missing; hidden otherwise.
void ShowTrackProgress(QLabel& label, const TWatchList& list) {
    const TModel::TTrackProgress progress = list.Model().TrackProgress();
    if (!list.ShowsTrackRecords() || progress.done >= progress.total) {
        label.hide();
        return;
    }
    label.setText(QStringLiteral("track record: %1 of %2 %3")
                      .arg(progress.done)
                      .arg(progress.total)
                      .arg(progress.total == 1 ? QStringLiteral("file") : QStringLiteral("files")));
    label.show();
}

} // namespace

void TForm1::CreateWatchPage() {
    WatchPage = new QWidget;
    WatchPage->setObjectName(QStringLiteral("WatchPage"));
    PageControl1->addTab(WatchPage, QStringLiteral("Watch list"));
    watchList_ = new TWatchList(this);
    auto* sorted = new QSortFilterProxyModel(WatchPage);
    sorted->setSourceModel(&watchList_->Model());
    sorted->setSortRole(TModel::SortRole);
    sorted->setSortCaseSensitivity(Qt::CaseInsensitive);

    auto* trackRecord = new QCheckBox(QStringLiteral("Track record"), WatchPage);
    trackRecord->setObjectName(QStringLiteral("TrackRecord"));
    auto* trackProgress = new QLabel(WatchPage);
    trackProgress->setObjectName(QStringLiteral("TrackRecordProgress"));
    trackProgress->hide();

    WatchList = new QTableView(WatchPage);
    WatchList->setObjectName(QStringLiteral("WatchList"));
    WatchList->setModel(sorted);
    WatchList->setSelectionBehavior(QAbstractItemView::SelectRows);
    WatchList->setSelectionMode(QAbstractItemView::SingleSelection);
    WatchList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    WatchList->setWordWrap(false);
    WatchList->verticalHeader()->hide();
    WatchList->verticalHeader()->setDefaultSectionSize(WatchList->fontMetrics().height() + 4);
    SizeColumns(*WatchList);
    for (int column = TModel::FirstTrackColumn; column < TModel::ColumnCount; ++column) {
        WatchList->setColumnHidden(column, true);
    }
    WatchList->setSortingEnabled(true);
    WatchList->sortByColumn(TModel::SinceTurnColumn, Qt::AscendingOrder);
    // The page may shrink with the window as far as TabSheet1 does.
    WatchList->setMinimumSize(0, 0);

    auto* boxRow = new QHBoxLayout;
    boxRow->setContentsMargins(BoxRowMargin, BoxRowMargin, BoxRowMargin, 0);
    boxRow->addWidget(trackRecord);
    boxRow->addWidget(trackProgress);
    boxRow->addStretch();
    auto* pageLayout = new QVBoxLayout(WatchPage);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addLayout(boxRow);
    pageLayout->addWidget(WatchList);

    connect(watchList_, &TWatchList::FirstFilled, this,
            [this] { FitColumns(*WatchList, 0, TModel::ColumnCount - 1); });
    connect(trackRecord, &QCheckBox::toggled, this, [this, trackProgress](bool checked) {
        for (int column = TModel::FirstTrackColumn; column < TModel::ColumnCount; ++column) {
            WatchList->setColumnHidden(column, !checked);
        }
        if (checked) {
            FitColumns(*WatchList, TModel::FirstTrackColumn, TModel::ColumnCount - 1);
        } else if (TModel::IsTrackColumn(WatchList->horizontalHeader()->sortIndicatorSection())) {
            WatchList->sortByColumn(TModel::SinceTurnColumn, Qt::AscendingOrder);
        }
        watchList_->ShowTrackRecords(checked);
        ShowTrackProgress(*trackProgress, *watchList_);
    });
    connect(watchList_, &TWatchList::TrackRecordFilesChanged, this,
            [this](const QStringList& runAgain) {
                AskForTrackRecords();
                for (const QString& path : runAgain) {
                    pipeline_.RunAgain(path);
                }
            });
    const auto showProgress = [this, trackProgress] {
        ShowTrackProgress(*trackProgress, *watchList_);
    };
    TModel& rows = watchList_->Model();
    connect(&rows, &QAbstractItemModel::rowsInserted, trackProgress, showProgress);
    connect(&rows, &QAbstractItemModel::rowsRemoved, trackProgress, showProgress);
    connect(&rows, &QAbstractItemModel::dataChanged, trackProgress, showProgress);
}

QSet<QString> TForm1::WatchListTrackRecordFiles() const {
    return watchList_->TrackRecordFiles();
}

void TForm1::AskForTrackRecords() {
    pipeline_.WorkOutTrackRecords(WatchListTrackRecordFiles() | ChosenFileRecords(false),
                                  ChosenFileRecords(true));
}

void TForm1::WatchListDoubleClick(const QModelIndex& index) {
    SelectSourceFile(index.data(TModel::PathRole).toString());
    PageControl1->setCurrentWidget(TabSheet1);
}

} // namespace quillon
