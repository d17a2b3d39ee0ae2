#include "bars/TrackRecord.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "bars/GetField.h"
#include "bars/Turns.h"
#include "base/CheckedFloat.h"
#include "base/Errors.h"

namespace quillon {

namespace {

// The normal quantile of 97.5 %: the two-sided 95 % interval.
constexpr double Z95 = 1.959963984540054;
// A double holds 10^k exactly up to k = 22; a price with more decimals is no price.
constexpr int MostPointDigits = 22;
// The largest whole number of points that converts to and from a double without loss of range.
constexpr double MostPoints = 9.0e18;

std::int64_t CheckedSum(std::int64_t a, std::int64_t b) {
    std::int64_t sum;
    if (__builtin_add_overflow(a, b, &sum)) {
        throw IntegerOverflowError();
    }
    return sum;
}

std::int64_t CheckedDifference(std::int64_t a, std::int64_t b) {
    std::int64_t difference;
    if (__builtin_sub_overflow(a, b, &difference)) {
        throw IntegerOverflowError();
    }
    return difference;
}

template <typename T>
const T& At(std::span<const T> items, std::size_t index) {
    return items[static_cast<std::size_t>(
        CheckedIndex(static_cast<int>(index), static_cast<int>(items.size())))];
}

// A trade's points from the bar it opened at to the close `to`.
std::int64_t TradePoints(TTick direction, double opened, double to, int digits,
                         std::int64_t spread) {
    const std::int64_t moved = direction == TTick::Up ? PointsBetween(opened, to, digits)
                                                      : PointsBetween(to, opened, digits);
    return CheckedDifference(moved, spread);
}

TRecord MakeRecord(TRecordKind kind, int firstLine, std::vector<double> closes,
                   const std::vector<TTick>& marks, int digits, std::int64_t spread) {
    TRecord record;
    record.kind = kind;
    record.firstLine = firstLine;
    record.closes = std::move(closes);
    record.trades = TradesOf(marks, record.closes, digits, spread);
    record.summary = SummaryOf(record.trades);
    return record;
}

std::vector<TTick> MarksOf(const TMarksAtClose& marks, std::size_t from, std::size_t count) {
    if (from + count > marks.size()) {
        ThrowRangeCheckError();
    }
    std::vector<TTick> ticks(count);
    for (std::size_t i = 0; i < count; ++i) {
        ticks[i] = marks[from + i].value_or(TTick::None);
    }
    return ticks;
}

} // namespace

int PriceDecimals(std::string_view price, char decimalSeparator) {
    const std::size_t separator = price.find(decimalSeparator);
    if (separator == std::string_view::npos) {
        return 0;
    }
    int decimals = 0;
    for (std::size_t i = separator + 1; i < price.size() && price[i] >= '0' && price[i] <= '9';
         ++i) {
        ++decimals;
    }
    return decimals;
}

int PointDigitsOf(const TRun& run) {
    int digits = 0;
    for (int index = 0; index < run.LineCount(); ++index) {
        const std::string_view line = run.StoredLine(index);
        if (line.size() > static_cast<std::size_t>(FieldTextLimit)) {
            continue; // no bar line: it cannot be loaded
        }
        for (const std::uint8_t field : {OpenField, HighField, LowField, CloseField}) {
            digits = std::max(digits, PriceDecimals(BarField(line, field), run.DecimalSeparator()));
        }
    }
    return std::min(digits, MostPointDigits);
}

std::int64_t PointsBetween(double from, double to, int digits) {
    double scale = 1.0;
    for (int i = 0; i < std::clamp(digits, 0, MostPointDigits); ++i) {
        scale *= 10.0;
    }
    const double points = std::round(CheckedResult(CheckedResult(to - from) * scale));
    if (std::fabs(points) > MostPoints) {
        throw IntegerOverflowError();
    }
    return static_cast<std::int64_t>(points);
}

std::vector<TTrade> TradesOf(std::span<const TTick> marks, std::span<const double> closes,
                             int digits, std::int64_t spread) {
    if (marks.size() != closes.size()) {
        ThrowRangeCheckError();
    }
    std::vector<TTrade> trades;
    // The newest bar is still forming: it makes no turn, its close only values the open trade.
    for (std::size_t bar = 1; bar + 1 < marks.size(); ++bar) {
        const TTick turn = TurnOf(At(marks, bar - 1), At(marks, bar));
        const TTick held = trades.empty() ? TTick::None : trades.back().direction;
        if (turn == TTick::None || turn == held) {
            continue;
        }
        if (!trades.empty()) {
            TTrade& closing = trades.back();
            closing.closedBar = static_cast<int>(bar);
            closing.points =
                TradePoints(held, At(closes, closing.openedBar), At(closes, bar), digits, spread);
        }
        trades.push_back({turn, static_cast<int>(bar), std::nullopt, 0});
    }
    if (!trades.empty()) {
        TTrade& open = trades.back();
        open.points = TradePoints(open.direction, At(closes, open.openedBar),
                                  At(closes, closes.size() - 1), digits, spread);
    }
    return trades;
}

std::optional<TShareInterval> WilsonInterval(int successes, int trials) {
    if (trials <= 0 || successes < 0 || successes > trials) {
        return std::nullopt;
    }
    const double n = trials;
    const double share = successes / n;
    const double z2 = Z95 * Z95;
    const double denominator = 1.0 + z2 / n;
    const double centre = (share + z2 / (2.0 * n)) / denominator;
    const double half =
        Z95 * std::sqrt(share * (1.0 - share) / n + z2 / (4.0 * n * n)) / denominator;
    return TShareInterval{std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

std::optional<double> TRecordSummary::WinShare() const {
    return trades == 0 ? std::nullopt : std::optional<double>(static_cast<double>(won) / trades);
}

std::optional<double> TRecordSummary::MeanPoints() const {
    return trades == 0 ? std::nullopt : std::optional<double>(static_cast<double>(points) / trades);
}

TRecordSummary SummaryOf(std::span<const TTrade> trades) {
    TRecordSummary summary;
    std::int64_t pointsWon = 0;
    std::int64_t pointsLost = 0;
    std::int64_t highest = 0;
    for (const TTrade& trade : trades) {
        if (!trade.closedBar) {
            summary.openDirection = trade.direction;
            summary.openPoints = trade.points;
            continue;
        }
        ++summary.trades;
        if (trade.points > 0) {
            ++summary.won;
            pointsWon = CheckedSum(pointsWon, trade.points);
        } else {
            pointsLost = CheckedDifference(pointsLost, trade.points);
        }
        summary.points = CheckedSum(summary.points, trade.points);
        highest = std::max(highest, summary.points);
        summary.drawdown = std::max(summary.drawdown, CheckedDifference(highest, summary.points));
    }
    summary.winRate = WilsonInterval(summary.won, summary.trades);
    if (pointsLost > 0) {
        summary.profitFactor = static_cast<double>(pointsWon) / static_cast<double>(pointsLost);
    }
    return summary;
}

std::vector<std::int64_t> RunningTotal(std::span<const TTrade> trades,
                                       std::span<const double> closes, int digits,
                                       std::int64_t spread) {
    std::vector<std::int64_t> totals(closes.size());
    std::int64_t closed = 0;
    std::size_t next = 0;
    for (std::size_t bar = 0; bar < closes.size(); ++bar) {
        // The trades closed by this bar count in full; the one it holds open, at its close.
        while (next < trades.size() && trades[next].closedBar &&
               static_cast<std::size_t>(*trades[next].closedBar) <= bar) {
            closed = CheckedSum(closed, trades[next].points);
            ++next;
        }
        std::int64_t open = 0;
        if (next < trades.size() && static_cast<std::size_t>(trades[next].openedBar) <= bar) {
            const TTrade& held = trades[next];
            open = TradePoints(held.direction, At(closes, held.openedBar), closes[bar], digits,
                               spread);
        }
        totals[bar] = CheckedSum(closed, open);
    }
    return totals;
}

namespace {

// Each record's word for the tools and its title for the window, in TRecordKind's order.
struct TRecordWords {
    std::string_view name;
    std::string_view title;
};
constexpr std::array<TRecordWords, 3> RecordWords{{
    {"chart", "in the chart"},
    {"at_close", "at close"},
    {"whole_file", "whole file"},
}};

const TRecordWords& WordsOf(TRecordKind kind) {
    return RecordWords[static_cast<std::size_t>(
        CheckedIndex(static_cast<int>(kind), static_cast<int>(RecordWords.size())))];
}

} // namespace

std::string_view RecordKindName(TRecordKind kind) {
    return WordsOf(kind).name;
}

std::string_view RecordKindTitle(TRecordKind kind) {
    return WordsOf(kind).title;
}

TTrackSummaries SummariesOf(const TTrackRecords& records) {
    TTrackSummaries summaries{records.chart.summary, records.atClose.summary, std::nullopt};
    if (records.wholeFile) {
        summaries.wholeFile = records.wholeFile->summary;
    }
    return summaries;
}

TTrackRecords TrackRecordsOf(const TRun& run, const TMarksAtClose& loaded,
                             const TMarksAtClose* wholeFile, std::int64_t spread) {
    TTrackRecords records;
    records.digits = PointDigitsOf(run);
    records.spread = spread;
    const int N = run.BarCount();
    const int firstRowLine = run.StoreIndexOfRow(0);
    std::vector<double> closes(static_cast<std::size_t>(N));
    for (int row = 0; row < N; ++row) {
        closes[static_cast<std::size_t>(row)] = run.Bars().BarClose[row];
    }
    records.chart = MakeRecord(TRecordKind::Chart, firstRowLine, closes, ChartMarks(run),
                               records.digits, spread);
    records.atClose =
        MakeRecord(TRecordKind::AtClose, firstRowLine, std::move(closes),
                   MarksOf(loaded, 0, static_cast<std::size_t>(N)), records.digits, spread);
    if (wholeFile) {
        const int lines = run.LineCount();
        std::vector<double> lineCloses(static_cast<std::size_t>(lines));
        const auto one = std::make_unique<TBarTable>();
        double lastClose = 0.0;
        for (int line = 0; line < lines; ++line) {
            // A line that cannot be loaded has no mark at close, so no trade opens or closes at
            // it; an open trade keeps the value of the last close there was.
            try {
                run.LoadStoredBars(line, 1, *one);
                lastClose = one->BarClose[0];
            } catch (const QuillonError&) {
            }
            lineCloses[static_cast<std::size_t>(line)] = lastClose;
        }
        records.wholeFile = MakeRecord(TRecordKind::WholeFile, 0, std::move(lineCloses),
                                       MarksOf(*wholeFile, 0, static_cast<std::size_t>(lines)),
                                       records.digits, spread);
    }
    return records;
}

} // namespace quillon
