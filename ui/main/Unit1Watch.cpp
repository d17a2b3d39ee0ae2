// The "Watch list" page: a row for each bar file of the chosen file's folder, kept current as the
// files are rewritten, sorted with the freshest turn first.

#include <algorithm>

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/main/Unit1.h"

namespace quillon {

namespace {

// The cell's text margins on both sides and its grid line, with a little to spare.
constexpr int CellRoom = 12;
// A title's margins and the sort arrow beside it.
constexpr int SortArrowRoom = 20;

// Each column as wide as its title or the widest text it usually shows, whichever is wider; the
// reason of a failure takes what is left. Fitting them to their contents instead would measure
// every row at every change, and hold the window up while 250 files change.
void SizeColumns(QTableView& view) {
    static const char* const Widest[TWatchListModel::ColumnCount] = {
        "Notify",  "EURUSD10080.csv", "EURUSD", "MN1",     "20240102", "2300",
        "1.08000", "mixed",           "1000",   "falling", ""};
    QHeaderView& header = *view.horizontalHeader();
    for (int column = 0; column < TWatchListModel::ColumnCount; ++column) {
        const int text = view.fontMetrics().horizontalAdvance(QString::fromUtf8(Widest[column]));
        // The title's own hint leaves out the arrow of the column sorted by.
        const int title = header.fontMetrics().horizontalAdvance(
                              view.model()->headerData(column, Qt::Horizontal).toString()) +
                          SortArrowRoom;
        header.resizeSection(column,
                             std::max({text + CellRoom, title, header.sectionSizeHint(column)}));
    }
    header.setStretchLastSection(true);
}

} // namespace

void TForm1::CreateWatchPage() {
    WatchPage = new QWidget;
    WatchPage->setObjectName(QStringLiteral("WatchPage"));
    PageControl1->addTab(WatchPage, QStringLiteral("Watch list"));
    watchList_ = new TWatchList(this);
    auto* sorted = new QSortFilterProxyModel(WatchPage);
    sorted->setSourceModel(&watchList_->Model());
    sorted->setSortRole(TWatchListModel::SortRole);
    sorted->setSortCaseSensitivity(Qt::CaseInsensitive);

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
    WatchList->setSortingEnabled(true);
    WatchList->sortByColumn(TWatchListModel::SinceTurnColumn, Qt::AscendingOrder);
    // The page may shrink with the window as far as TabSheet1 does.
    WatchList->setMinimumSize(0, 0);
    auto* pageLayout = new QVBoxLayout(WatchPage);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(WatchList);
}

void TForm1::WatchListDoubleClick(const QModelIndex& index) {
    SelectSourceFile(index.data(TWatchListModel::PathRole).toString());
    PageControl1->setCurrentWidget(TabSheet1);
}

} // namespace quillon
