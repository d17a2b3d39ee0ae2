#include "ui/track/TrackRecordPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/IntegerText.h"
#include "chart/TChart.h"
#include "chart/TrackFeed.h"

namespace quillon {

namespace {

constexpr int PageMargin = 4;

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QTableWidget* MakeTable(QWidget* parent) {
    const std::vector<TTrackTableRow> rows = TrackTable(TTrackRecords{});
    auto* table = new QTableWidget(static_cast<int>(rows.size()), TrackRecordKinds.size(), parent);
    table->setObjectName(QStringLiteral("TrackRecordTable"));
    table->setAccessibleName(QStringLiteral("Track record figures"));
    QStringList titles;
    for (const TRecordKind kind : TrackRecordKinds) {
        titles << Text(RecordKindTitle(kind));
    }
    table->setHorizontalHeaderLabels(titles);
    QStringList rowTitles;
    for (const TTrackTableRow& row : rows) {
        rowTitles << QString::fromStdString(row.title);
    }
    table->setVerticalHeaderLabels(rowTitles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    // The three records share the width, and a figure too long for it wraps: at the window's
    // first size the three stand side by side without a scroll bar.
    table->setWordWrap(true);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // As tall as its rows, so that the chart takes the rest.
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            table->setItem(row, column, new QTableWidgetItem);
        }
    }
    return table;
}

} // namespace

TTrackRecordPage::TTrackRecordPage(QWidget* parent)
    : QWidget(parent)
    , heading_(new QLabel(QStringLiteral("No run yet"), this))
    , working_(new QLabel(this))
    , chart_(new TChart(TrackChartLooks(), std::string(TrackAxisFormat), this))
    , table_(MakeTable(this))
    , caption_(new QLabel(this)) {
    setObjectName(QStringLiteral("TrackRecordPage"));
    heading_->setObjectName(QStringLiteral("TrackRecordHeading"));
    heading_->setTextFormat(Qt::PlainText);
    working_->setObjectName(QStringLiteral("TrackRecordWorking"));
    working_->hide();
    chart_->setObjectName(QStringLiteral("TrackRecordChart"));
    chart_->setAccessibleName(QStringLiteral("Track record chart"));
    chart_->setMinimumHeight(60);
    caption_->setObjectName(QStringLiteral("TrackRecordCaption"));
    caption_->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(heading_, 1);
    top->addWidget(working_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(PageMargin, PageMargin, PageMargin, PageMargin);
    layout->addLayout(top);
    layout->addWidget(chart_, 1);
    layout->addWidget(table_);
    layout->addWidget(caption_);
}

void TTrackRecordPage::ShowRecords(const QString& fileName, const TRun& run,
                                   const TTrackRecords& records) {
    heading_->setText(fileName + QStringLiteral(": ") + Text(IntegerToText(run.BarCount())) +
                      QStringLiteral(" bars of ") + Text(IntegerToText(run.LineCount())) +
                      QStringLiteral(" lines, lags ") + Text(IntegerToText(run.Lag1())) +
                      QStringLiteral(" and ") + Text(IntegerToText(run.Lag2())));
    FeedTrackChart(records, chart_->Model());
    const std::vector<TTrackTableRow> rows = TrackTable(records);
    for (int row = 0; row < table_->rowCount(); ++row) {
        const TTrackTableRow& figures = rows.at(static_cast<std::size_t>(row));
        for (int column = 0; column < table_->columnCount(); ++column) {
            table_->item(row, column)
                ->setText(
                    QString::fromStdString(figures.cells.at(static_cast<std::size_t>(column))));
        }
    }
    caption_->setText(QString::fromStdString(TrackCaption(records)));
    StopWorking();
}

void TTrackRecordPage::ShowWorking(int done, int total) {
    if (total > 0 && done >= total) {
        StopWorking();
        return;
    }
    QString text = QStringLiteral("working...");
    if (total > 0) {
        // done < total: the share fits.
        text += QStringLiteral(" ") + QString::number(static_cast<qint64>(done) * 100 / total) +
                QStringLiteral(" %");
    }
    working_->setText(text);
    working_->show();
}

void TTrackRecordPage::StopWorking() {
    working_->hide();
}

} // namespace quillon
