#include "bars/WatchRow.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <new>

#include "bars/RunFromTexts.h"
#include "bars/Turns.h"
#include "base/ErrorText.h"
#include "base/Errors.h"
#include "base/IntegerText.h"

namespace quillon {

namespace {

struct TPeriod {
    int minutes;
    const char* name;
};

// The terminal's standard periods, the only ones its indicator writes into a file's name.
constexpr std::array<TPeriod, 9> Periods{{{1, "M1"},
                                          {5, "M5"},
                                          {15, "M15"},
                                          {30, "M30"},
                                          {60, "H1"},
                                          {240, "H4"},
                                          {1440, "D1"},
                                          {10080, "W1"},
                                          {43200, "MN1"}}};

std::string_view StemOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.rfind('.'));
}

void SumUpNewestBar(const TRun& run, TWatchRow& row) {
    const int newest = run.BarCount() - 1;
    TBarStamp stamp = BarStampOf(run.LineOfRow(newest));
    row.date = std::move(stamp.date);
    row.time = std::move(stamp.time);
    row.close = std::move(stamp.close);
    row.mark = run.MarkAt(newest);
    row.barsSinceTurn = HeldAtEnd(ChartMarks(run));
    row.newestTurn = TurnAt(run, newest);
    if (newest >= 1) {
        const double last = run.Waves().CloseWave1()[newest];
        const double before = run.Waves().CloseWave1()[newest - 1];
        row.wave1 = last > before   ? TWaveDirection::Rising
                    : last < before ? TWaveDirection::Falling
                                    : TWaveDirection::Flat;
    }
}

} // namespace

std::optional<TSymbolPeriod> SymbolPeriodOf(std::string_view path) {
    const std::string_view stem = StemOf(path);
    std::size_t digits = stem.size();
    while (digits > 0 && stem[digits - 1] >= '0' && stem[digits - 1] <= '9') {
        --digits;
    }
    // A symbol may end in digits itself (US30, JP225), and the minutes follow it without leading
    // zeros: the longest ending that is a period and leaves a symbol before it is the period.
    for (std::size_t at = std::max<std::size_t>(digits, 1); at < stem.size(); ++at) {
        const std::string_view number = stem.substr(at);
        int minutes = 0;
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), minutes);
        const bool known = std::any_of(Periods.begin(), Periods.end(), [minutes](const TPeriod& p) {
            return p.minutes == minutes;
        });
        if (number.front() != '0' && error == std::errc() && known) {
            return TSymbolPeriod{std::string(stem.substr(0, at)), minutes};
        }
    }
    return std::nullopt;
}

std::string PeriodName(int minutes) {
    for (const TPeriod& period : Periods) {
        if (period.minutes == minutes) {
            return period.name;
        }
    }
    return IntegerToText(minutes) + " min";
}

std::string_view MarkText(TTick mark) {
    switch (mark) {
    case TTick::Up:
        return "up";
    case TTick::Down:
        return "down";
    case TTick::None:
        break;
    }
    return "mixed";
}

TAtCloseSummary AtCloseSummaryOf(const TRun& run, const TMarksAtClose& marks) {
    return {marks.empty() ? std::nullopt : marks.back(), HeldAtClose(marks),
            AgreementOf(run, marks)};
}

std::string_view DirectionText(TWaveDirection direction) {
    switch (direction) {
    case TWaveDirection::Rising:
        return "rising";
    case TWaveDirection::Falling:
        return "falling";
    case TWaveDirection::Flat:
        break;
    }
    return "flat";
}

TWatchRow WatchRowOf(const std::string& path, const TRun& run, const TRunOutcome& outcome) {
    TWatchRow row;
    row.path = path;
    row.symbolPeriod = SymbolPeriodOf(path);
    row.failure = outcome.failure;
    if (outcome.Completed()) {
        SumUpNewestBar(run, row);
    }
    return row;
}

TWatchRow WatchRowOf(const std::string& path, const TRunNumbers& numbers, const TReadSettings& read,
                     TRun& run) {
    TRunOutcome outcome;
    try {
        WorkOutRun(path, numbers, read, run);
    } catch (const ReadFailedError&) {
        outcome.failure = ReadFailureText(run.ReadFailure());
    } catch (const QuillonError& error) {
        outcome.failure = FailureText(error);
    } catch (const std::bad_alloc& error) {
        outcome.failure = FailureText(error);
    }
    return WatchRowOf(path, run, outcome);
}

} // namespace quillon
