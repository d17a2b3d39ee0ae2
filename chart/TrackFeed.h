#pragma once

#include <array>
#include <string>
#include <vector>

#include "bars/TrackRecord.h"
#include "chart/ChartModel.h"

namespace quillon {

// The track record's picture, for the window's page and quillon-chart --track: the running total
// in points of each record drawn with the chart's own code, and its figures side by side.

// The records in the order the picture and the table show them.
inline constexpr std::array<TRecordKind, 3> TrackRecordKinds{
    TRecordKind::Chart, TRecordKind::AtClose, TRecordKind::WholeFile};

// The layers of the track record's chart, in painting order: the zero line, which is unnamed,
// then one line for each record named by RecordKindTitle, each in a look of its own, the whole
// file's at the bottom and the chart's on top.
std::vector<TLineLook> TrackChartLooks();
// Its value labels: whole points with thousands.
inline constexpr std::string_view TrackAxisFormat = "#,##0";

// Refills a chart made with TrackChartLooks on automatic scales: each record's running total
// against the stored line of its bar, so that the whole file's spans the file and the other two
// its loaded bars, and the zero line under them all. A record not worked out has no line.
void FeedTrackChart(const TTrackRecords& records, TChartModel& chart);

// The records side by side, one row a figure: trades, won, win rate with its interval, total,
// mean, profit factor, drawdown, open position. The cells follow TrackRecordKinds; a record not
// worked out has empty cells.
struct TTrackTableRow {
    std::string title;
    std::array<std::string, TrackRecordKinds.size()> cells;
};
std::vector<TTrackTableRow> TrackTable(const TTrackRecords& records);

// How much the figures can bear, in words: before costs (or the spread taken off) and on how
// many trades.
std::string TrackCaption(const TTrackRecords& records);

} // namespace quillon
