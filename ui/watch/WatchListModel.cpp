#include "ui/watch/WatchListModel.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include <QColor>
#include <QFile>
#include <QFileInfo>

#include "bars/RecordText.h"
#include "base/Types.h"
#include "live/EightBitText.h"
#include "live/FilePath.h"

namespace quillon {

namespace {

// Mixed marks sort after every file whose waves agree, however long those have held: no run holds
// more bars than this.
constexpr qint64 MixedAfter = SeriesCapacity + 1;

bool Failed(const TWatchEntry& entry) {
    return !entry.row.failure.empty();
}

// Rising, flat, falling: from one end of the wave's ways to the other.
int WaveOrder(TWaveDirection direction) {
    return direction == TWaveDirection::Rising ? 0 : direction == TWaveDirection::Flat ? 1 : 2;
}

int MarkOrder(TTick mark) {
    return mark == TTick::Up ? 0 : mark == TTick::Down ? 1 : 2;
}

// The record that a track column sums up, at close or in the chart; none before the row has its
// records.
const TRecordSummary* ShownRecord(const TWatchRow& row, int column) {
    if (!row.track) {
        return nullptr;
    }
    return column < TWatchListModel::TradesInChartColumn ? &row.track->atClose : &row.track->chart;
}

// Each record has a column of trades, one of points and one of profit factors, in that order.
enum class TFigure { Trades, Points, Factor };

TFigure FigureOf(int column) {
    return static_cast<TFigure>((column - TWatchListModel::FirstTrackColumn) % 3);
}

} // namespace

void TWatchListModel::Put(std::vector<TWatchEntry> entries) {
    // Announced together: the view and the sorting proxy do their work once for the lot, not once
    // a row, which for a folder of 250 files kept the window's thread from the runs' threads.
    std::vector<TWatchEntry> added;
    int firstChanged = rowCount(), lastChanged = -1;
    for (TWatchEntry& entry : entries) {
        const int row = RowOf(entry.row.path);
        if (row < 0) {
            const auto again =
                std::find_if(added.begin(), added.end(), [&entry](const TWatchEntry& e) {
                    return e.row.path == entry.row.path;
                });
            if (again != added.end()) {
                *again = std::move(entry);
            } else {
                added.push_back(std::move(entry));
            }
            continue;
        }
        entries_[static_cast<std::size_t>(row)] = std::move(entry);
        firstChanged = std::min(firstChanged, row);
        lastChanged = std::max(lastChanged, row);
    }
    if (lastChanged >= 0) {
        emit dataChanged(index(firstChanged, 0), index(lastChanged, ColumnCount - 1));
    }
    if (!added.empty()) {
        const int end = rowCount();
        beginInsertRows({}, end, end + static_cast<int>(added.size()) - 1);
        std::move(added.begin(), added.end(), std::back_inserter(entries_));
        endInsertRows();
    }
}

void TWatchListModel::Remove(const std::string& path) {
    const int row = RowOf(path);
    if (row < 0) {
        return;
    }
    beginRemoveRows({}, row, row);
    entries_.erase(entries_.begin() + row);
    endRemoveRows();
}

void TWatchListModel::DropTrackRecords() {
    for (TWatchEntry& entry : entries_) {
        entry.row.track.reset();
    }
    if (!entries_.empty()) {
        emit dataChanged(index(0, FirstTrackColumn), index(rowCount() - 1, ColumnCount - 1));
    }
}

TWatchListModel::TTrackProgress TWatchListModel::TrackProgress() const {
    TTrackProgress progress;
    progress.total = rowCount();
    progress.done = static_cast<int>(
        std::count_if(entries_.begin(), entries_.end(), [](const TWatchEntry& entry) {
            return Failed(entry) || entry.row.track.has_value();
        }));
    return progress;
}

void TWatchListModel::Clear() {
    notified_.clear();
    if (entries_.empty()) {
        return;
    }
    beginRemoveRows({}, 0, rowCount() - 1);
    entries_.clear();
    endRemoveRows();
}

int TWatchListModel::RowOf(const std::string& path) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&path](const TWatchEntry& e) { return e.row.path == path; });
    return found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
}

int TWatchListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int TWatchListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TWatchListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) {
        return {};
    }
    const TWatchEntry& entry = entries_[static_cast<std::size_t>(index.row())];
    if (index.column() == NotifyColumn && role == Qt::CheckStateRole) {
        return Notifies(entry.row.path) ? Qt::Checked : Qt::Unchecked;
    }
    switch (role) {
    case Qt::DisplayRole:
        return Text(entry, index.column());
    case SortRole:
        return SortKey(entry, index.column());
    case PathRole:
        return PathText(entry.row.path);
    case Qt::ToolTipRole:
        // A reason may be longer than its column is wide.
        return Failed(entry) ? FromEightBit(entry.row.failure) : PathText(entry.row.path);
    case Qt::ForegroundRole:
        return Failed(entry) ? QVariant(QColor(Qt::darkRed)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == CloseColumn || index.column() == SinceTurnColumn ||
                       IsTrackColumn(index.column())
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    default:
        return {};
    }
}

QVariant TWatchListModel::Text(const TWatchEntry& entry, int column) const {
    const TWatchRow& row = entry.row;
    if (column == FileColumn) {
        return QFileInfo(PathText(row.path)).fileName();
    }
    if (column == SymbolColumn || column == PeriodColumn) {
        if (!row.symbolPeriod) {
            return QString();
        }
        return column == SymbolColumn ? FromEightBit(row.symbolPeriod->symbol)
                                      : FromEightBit(PeriodName(row.symbolPeriod->periodMinutes));
    }
    if (column == FailureColumn) {
        return FromEightBit(row.failure);
    }
    if (Failed(entry)) {
        return QString();
    }
    if (IsTrackColumn(column)) {
        const TRecordSummary* record = ShownRecord(row, column);
        if (record == nullptr) {
            return QString();
        }
        switch (FigureOf(column)) {
        case TFigure::Trades:
            return record->trades;
        case TFigure::Points:
            return FromEightBit(PointsText(record->points));
        case TFigure::Factor:
            return FromEightBit(ProfitFactorText(record->profitFactor));
        }
    }
    switch (column) {
    case DateColumn:
        return FromEightBit(row.date);
    case TimeColumn:
        return FromEightBit(row.time);
    case CloseColumn:
        return FromEightBit(row.close);
    case MarksColumn:
        return QString::fromLatin1(MarkText(row.mark));
    case SinceTurnColumn:
        return row.barsSinceTurn;
    case WaveColumn:
        return QString::fromLatin1(DirectionText(row.wave1));
    default:
        return {};
    }
}

QVariant TWatchListModel::SortKey(const TWatchEntry& entry, int column) const {
    const TWatchRow& row = entry.row;
    switch (column) {
    case NotifyColumn:
        return Notifies(row.path) ? 0 : 1;
    case FileColumn: {
        // quillon-scan's order of names (BarFileNameLess, byte order) however the sorting proxy
        // compares texts: the name's bytes in hexadecimal, whose digits have no case.
        const std::string_view path = row.path;
        const std::string_view name = path.substr(path.rfind('/') + 1);
        return QString::fromLatin1(
            QByteArray(name.data(), static_cast<qsizetype>(name.size())).toHex());
    }
    case FailureColumn:
        return Text(entry, column);
    case SymbolColumn:
        return row.symbolPeriod ? FromEightBit(row.symbolPeriod->symbol) : QString();
    case PeriodColumn:
        return row.symbolPeriod ? row.symbolPeriod->periodMinutes : 0;
    default:
        break;
    }
    if (Failed(entry)) {
        return {};
    }
    if (IsTrackColumn(column)) {
        const TRecordSummary* record = ShownRecord(row, column);
        if (record == nullptr) {
            return {};
        }
        switch (FigureOf(column)) {
        case TFigure::Trades:
            return record->trades;
        case TFigure::Points:
            return qint64{record->points};
        case TFigure::Factor:
            // Nothing lost is worth more than any factor.
            return record->profitFactor.value_or(std::numeric_limits<double>::infinity());
        }
    }
    switch (column) {
    case DateColumn:
        return FromEightBit(row.date + ' ' + row.time);
    case TimeColumn:
        return FromEightBit(row.time);
    case CloseColumn:
        return entry.close;
    case MarksColumn:
        return MarkOrder(row.mark);
    case SinceTurnColumn:
        // The freshest turn first: the waves agreeing for the fewest bars, then mixed marks.
        return row.mark == TTick::None ? MixedAfter + row.barsSinceTurn : qint64{row.barsSinceTurn};
    case WaveColumn:
        return WaveOrder(row.wave1);
    default:
        return {};
    }
}

Qt::ItemFlags TWatchListModel::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == NotifyColumn ? flags | Qt::ItemIsUserCheckable : flags;
}

bool TWatchListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rowCount() || index.column() != NotifyColumn ||
        role != Qt::CheckStateRole) {
        return false;
    }
    const std::string& path = entries_[static_cast<std::size_t>(index.row())].row.path;
    if (value.value<Qt::CheckState>() == Qt::Checked) {
        notified_.insert(path);
    } else {
        notified_.erase(path);
    }
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant TWatchListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const Titles[ColumnCount] = {
        "Notify",          "File",        "Symbol",
        "Period",          "Date",        "Time",
        "Close",           "Marks",       "Since turn",
        "W1 wave",         "Failure",     "Trades at close",
        "Points at close", "PF at close", "Trades in chart",
        "Points in chart", "PF in chart"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return QString::fromUtf8(Titles[section]);
}

} // namespace quillon
