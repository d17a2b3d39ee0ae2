#pragma once

#include <QWidget>

#include "bars/Run.h"
#include "bars/TrackRecord.h"

class QLabel;
class QTableWidget;

namespace quillon {

class TChart;

// The page "Track record": what trading the chosen file's turns stop and reverse made, in points.
// The running totals of its three records drawn in a chart of their own, and under it the records
// side by side, with what the figures can bear. The window hands it the records of each complete
// run it shows, and the share of the work done while they are worked out.
class TTrackRecordPage : public QWidget {
    Q_OBJECT

public:
    explicit TTrackRecordPage(QWidget* parent = nullptr);

    // The records of run, a complete run of the file named fileName, the whole file's among them.
    void ShowRecords(const QString& fileName, const TRun& run, const TTrackRecords& records);
    // The records are being worked out: done of total marks at close (0 of 0: not yet counted).
    void ShowWorking(int done, int total);
    // The work is over, or no longer asked for.
    void StopWorking();

private:
    QLabel* heading_;
    QLabel* working_;
    TChart* chart_;
    QTableWidget* table_;
    QLabel* caption_;
};

} // namespace quillon
