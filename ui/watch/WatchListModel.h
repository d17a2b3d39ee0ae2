#pragma once

#include <set>
#include <string>
#include <vector>

#include <QAbstractTableModel>

#include "bars/WatchRow.h"

namespace quillon {

// One file of the watch list: its run summed up, with the newest bar's close as a number, which
// sorts where the file's text would not ("9.5" after "10.5").
struct TWatchEntry {
    TWatchRow row;
    double close = 0.0;
};

// The watch list's table: one row a bar file, in the order the files were first summed up; a
// sorting proxy orders them for the view. Changes are announced row by row, so that the view keeps
// its selection and scroll position while the files are rewritten.
class TWatchListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum TColumn {
        NotifyColumn,
        FileColumn,
        SymbolColumn,
        PeriodColumn,
        DateColumn,
        TimeColumn,
        CloseColumn,
        MarksColumn,
        SinceTurnColumn,
        WaveColumn,
        FailureColumn,
        // The track records' figures over the loaded bars, at close and in the chart; the view
        // shows them while they are asked for, before the failure's reason, which it shows last.
        TradesAtCloseColumn,
        PointsAtCloseColumn,
        FactorAtCloseColumn,
        TradesInChartColumn,
        PointsInChartColumn,
        FactorInChartColumn,
        ColumnCount
    };
    static constexpr int FirstTrackColumn = TradesAtCloseColumn;
    static bool IsTrackColumn(int column) {
        return column >= FirstTrackColumn && column < ColumnCount;
    }
    // A key of the column's own kind for the sorting proxy; none where a failed row has no value,
    // which sorts such rows last.
    static constexpr int SortRole = Qt::UserRole;
    // The file's full path, on every column.
    static constexpr int PathRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // The files' rows, added or changed; a file's later entry wins.
    void Put(std::vector<TWatchEntry> entries);
    void Remove(const std::string& path);
    void Clear();
    // Every row's track records let go.
    void DropTrackRecords();
    // How many rows are through with their track records, having them or having failed, of how
    // many.
    struct TTrackProgress {
        int done = 0;
        int total = 0;
    };
    TTrackProgress TrackProgress() const;
    // Whether the user ticked the file's row for its turns to be announced. A tick stays with the
    // file while the folder is listed, through rewrites and a file deleted and written anew.
    bool Notifies(const std::string& path) const { return notified_.contains(path); }
    const std::set<std::string>& Ticked() const { return notified_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    // The row of the file, or -1.
    int RowOf(const std::string& path) const;
    QVariant Text(const TWatchEntry& entry, int column) const;
    QVariant SortKey(const TWatchEntry& entry, int column) const;

    std::vector<TWatchEntry> entries_;
    std::set<std::string> notified_;
};

} // namespace quillon
