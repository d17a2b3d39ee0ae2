#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "bars/MarksAtClose.h"
#include "bars/Run.h"
#include "bars/RunWaves.h"

namespace quillon {

// What the turns of the waves were worth, traded stop and reverse, in the file's points. A trader
// reads a chart in points: the turns drawn in hindsight (the chart's marks) beside those that could
// have been acted on (the marks at close) say in points how much of the chart's picture held up.

// A point is the file's smallest price step, 10^-digits, digits being the most digits after the
// decimal separator among the four prices of the lines stored (EURUSD's 5: 0.00001). A price
// without the separator has none; digits after an exponent are no decimals.
int PriceDecimals(std::string_view price, char decimalSeparator);
// The most among the open, high, low and close of every stored line of run that has them.
int PointDigitsOf(const TRun& run);

// A price difference in points: (to - from) / 10^-digits, rounded to the nearest whole number
// (half away from zero), so that each figure is a whole count. The overflow error where it does
// not fit.
std::int64_t PointsBetween(double from, double to, int digits);

// One trade of the turns, stop and reverse. Bars are indices into the record's bars.
struct TTrade {
    TTick direction = TTick::None;
    int openedBar = 0;
    // The bar whose close closed the trade; none for the position still open, which is valued at
    // the newest bar's close.
    std::optional<int> closedBar;
    // Won (above 0) or lost, the spread taken off.
    std::int64_t points = 0;
};

// The trades of a record's bars, oldest first, the open position last. marks[i] and closes[i]
// belong to bar i (closes as prices); both spans are as long. A turn (TurnOf) at a bar other than
// the first and the newest, which is still forming, closes the position held at the bar's close,
// when there is one in the other direction, and opens one in the turn's direction; a turn in the
// held direction changes nothing. spread points come off each trade, the open one included.
std::vector<TTrade> TradesOf(std::span<const TTick> marks, std::span<const double> closes,
                             int digits, std::int64_t spread = 0);

// A share with its 95 % Wilson score interval: of 17 trades 6 won, 0.173 to 0.587.
struct TShareInterval {
    double low = 0.0;
    double high = 0.0;
};
// Nothing for 0 of 0.
std::optional<TShareInterval> WilsonInterval(int successes, int trials);

// A record of trades summed up over the closed trades; the open position apart.
struct TRecordSummary {
    int trades = 0;
    int won = 0;
    // Nothing while no trade has closed.
    std::optional<TShareInterval> winRate;
    std::int64_t points = 0;
    // Points won over points lost; nothing when nothing was lost ("no loss").
    std::optional<double> profitFactor;
    // The largest fall of the running total of the closed trades from its highest value so far,
    // the total starting at 0.
    std::int64_t drawdown = 0;
    TTick openDirection = TTick::None;
    std::int64_t openPoints = 0;

    // Nothing while no trade has closed.
    std::optional<double> WinShare() const;
    std::optional<double> MeanPoints() const;
};
TRecordSummary SummaryOf(std::span<const TTrade> trades);

// The running total in points at each of barCount bars: the closed trades' points once closed, and
// the open trade's points at each bar's close while it is open. closes as for TradesOf.
std::vector<std::int64_t> RunningTotal(std::span<const TTrade> trades,
                                       std::span<const double> closes, int digits,
                                       std::int64_t spread = 0);

// The three records of a file at a run's bar count and lags.
enum class TRecordKind { Chart, AtClose, WholeFile };
// "chart", "at_close", "whole_file": the words the tools write.
std::string_view RecordKindName(TRecordKind kind);
// "in the chart", "at close", "whole file": the words the window shows.
std::string_view RecordKindTitle(TRecordKind kind);

struct TRecord {
    TRecordKind kind = TRecordKind::Chart;
    // The record's bars are the stored lines firstLine.. of the run, as TRun::StoredLine counts
    // them; TTrade's bar b is stored line firstLine + b.
    int firstLine = 0;
    std::vector<double> closes;
    std::vector<TTrade> trades;
    TRecordSummary summary;
};

struct TTrackRecords {
    int digits = 0;
    std::int64_t spread = 0;
    // In the chart (the chart's marks over the loaded bars), at close (the marks at close over the
    // same bars) and, where its marks were worked out, the whole file (the marks at close of every
    // stored line, over all of them).
    TRecord chart;
    TRecord atClose;
    std::optional<TRecord> wholeFile;
};

// The three records summed up, for a file's row in the watch list and quillon-scan.
struct TTrackSummaries {
    TRecordSummary chart;
    TRecordSummary atClose;
    std::optional<TRecordSummary> wholeFile;
};
TTrackSummaries SummariesOf(const TTrackRecords& records);

// The records of run, a complete run. loaded: the marks at close of its bars, entry r for bar row
// r; wholeFile, where given: those of every stored line, entry i for stored line i (see
// WholeFileMarksAtClose).
TTrackRecords TrackRecordsOf(const TRun& run, const TMarksAtClose& loaded,
                             const TMarksAtClose* wholeFile = nullptr, std::int64_t spread = 0);

} // namespace quillon
