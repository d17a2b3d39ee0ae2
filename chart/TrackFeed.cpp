#include "chart/TrackFeed.h"

#include <algorithm>
#include <limits>

#include "bars/RecordText.h"
#include "base/IntegerText.h"

namespace quillon {

namespace {

const TRecord* RecordOf(const TTrackRecords& records, TRecordKind kind) {
    switch (kind) {
    case TRecordKind::Chart:
        return &records.chart;
    case TRecordKind::AtClose:
        return &records.atClose;
    case TRecordKind::WholeFile:
        return records.wholeFile ? &*records.wholeFile : nullptr;
    }
    return nullptr;
}

// The layers of TrackChartLooks.
constexpr std::size_t ZeroLayer = 0;
std::size_t LayerOf(TRecordKind kind) {
    switch (kind) {
    case TRecordKind::WholeFile:
        return 1;
    case TRecordKind::AtClose:
        return 2;
    case TRecordKind::Chart:
        return 3;
    }
    return ZeroLayer;
}

using TCellText = std::string (*)(const TRecordSummary&);

std::string TradesCell(const TRecordSummary& s) {
    return IntegerToText(s.trades);
}
std::string WonCell(const TRecordSummary& s) {
    return IntegerToText(s.won);
}
std::string TotalCell(const TRecordSummary& s) {
    return PointsText(s.points);
}
// Nothing lost of no trade at all is no profit factor.
std::string ProfitFactorCell(const TRecordSummary& s) {
    return s.trades == 0 ? "none" : ProfitFactorText(s.profitFactor);
}
std::string DrawdownCell(const TRecordSummary& s) {
    return DrawdownText(s.drawdown);
}

struct TTableRowKind {
    const char* title;
    TCellText cell;
};

constexpr TTableRowKind TableRows[] = {
    {"trades", TradesCell},     {"won", WonCell},
    {"win rate", WinRateText},  {"total", TotalCell},
    {"mean", MeanPointsText},   {"profit factor", ProfitFactorCell},
    {"drawdown", DrawdownCell}, {"open position", OpenPositionText},
};

} // namespace

std::vector<TLineLook> TrackChartLooks() {
    // The chart's turns in the blue of its close waves; over the loaded bars the whole file's line
    // runs beside the one at close, since both trade the same turns there, so it lies under it.
    return {
        TLineLook{"", TColor{128, 128, 128}, TLineStyle::Solid, 1},
        TLineLook{std::string(RecordKindTitle(TRecordKind::WholeFile)), TColor{0, 140, 0},
                  TLineStyle::Solid, 1},
        TLineLook{std::string(RecordKindTitle(TRecordKind::AtClose)), TColor{220, 0, 0},
                  TLineStyle::Solid, 2},
        TLineLook{std::string(RecordKindTitle(TRecordKind::Chart)), clBlue, TLineStyle::Solid, 2}};
}

void FeedTrackChart(const TTrackRecords& records, TChartModel& chart) {
    chart.ResetZoom();
    int firstLine = std::numeric_limits<int>::max();
    int lastLine = std::numeric_limits<int>::min();
    for (const TRecordKind kind : TrackRecordKinds) {
        TLineSeries& line = chart.Line(LayerOf(kind));
        line.ClearPoints();
        const TRecord* record = RecordOf(records, kind);
        if (record == nullptr || record->closes.empty()) {
            continue;
        }
        const std::vector<std::int64_t> totals =
            RunningTotal(record->trades, record->closes, records.digits, records.spread);
        for (std::size_t bar = 0; bar < totals.size(); ++bar) {
            // A line that could not be loaded keeps a close of 0, which is no price: it is never
            // traded, nor does it value the position held.
            if (record->closes[bar] > 0.0) {
                line.AppendPoint(static_cast<double>(record->firstLine) + static_cast<double>(bar),
                                 static_cast<double>(totals[bar]), "", std::nullopt);
            }
        }
        firstLine = std::min(firstLine, record->firstLine);
        lastLine =
            std::max(lastLine, record->firstLine + static_cast<int>(record->closes.size()) - 1);
    }
    TLineSeries& zero = chart.Line(ZeroLayer);
    zero.ClearPoints();
    if (firstLine <= lastLine) {
        zero.AppendPoint(firstLine, 0.0, "", std::nullopt);
        zero.AppendPoint(lastLine, 0.0, "", std::nullopt);
    }
}

std::vector<TTrackTableRow> TrackTable(const TTrackRecords& records) {
    std::vector<TTrackTableRow> rows;
    for (const TTableRowKind& kind : TableRows) {
        TTrackTableRow row{kind.title, {}};
        for (std::size_t i = 0; i < TrackRecordKinds.size(); ++i) {
            if (const TRecord* record = RecordOf(records, TrackRecordKinds[i])) {
                row.cells.at(i) = kind.cell(record->summary);
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string TrackCaption(const TTrackRecords& records) {
    const std::string costs =
        records.spread == 0
            ? "before costs"
            : "less a spread of " + std::to_string(records.spread) + " points a trade";
    std::string counts = IntegerToText(records.chart.summary.trades);
    counts += records.wholeFile ? ", " : " and ";
    counts += IntegerToText(records.atClose.summary.trades);
    if (records.wholeFile) {
        counts += " and " + IntegerToText(records.wholeFile->summary.trades);
    }
    return "In points, " + costs + ", each turn traded stop and reverse: " + counts +
           " trades, a past record and no forecast; the win rate's 95 % interval says how little "
           "so few trades settle.";
}

} // namespace quillon
