#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bars/MarksAtClose.h"
#include "bars/Run.h"
#include "bars/RunFromTexts.h"
#include "bars/TrackRecord.h"

namespace quillon {

// What a bar file's name says when the terminal's indicator wrote it: the symbol, then the period
// in minutes ("EURUSD60.csv": EURUSD, 60).
struct TSymbolPeriod {
    std::string symbol;
    int periodMinutes = 0;
};

// Nothing when the name, without its folder and ending, is not a symbol followed by one of the
// terminal's periods (1, 5, 15, 30, 60, 240, 1440, 10080 or 43200 minutes).
std::optional<TSymbolPeriod> SymbolPeriodOf(std::string_view path);

// A period the trader's way: M1, M5, M15, M30, H1, H4, D1, W1, MN1.
std::string PeriodName(int minutes);

enum class TWaveDirection { Flat, Rising, Falling };

// A file's marks at close summed up: the newest bar's, for how many bars it has held (HeldAtClose),
// and how far the chart's marks agree with them.
struct TAtCloseSummary {
    TMarkAtClose mark;
    int held = 0;
    TAgreement agreement;
};
TAtCloseSummary AtCloseSummaryOf(const TRun& run, const TMarksAtClose& marks);

// One bar file summed up as the watch list and quillon-scan show it: what its run says of the
// newest bar, or why there is no run.
struct TWatchRow {
    std::string path;
    std::optional<TSymbolPeriod> symbolPeriod;
    // Empty when the run completed, else why it did not, in words.
    std::string failure;
    // The newest bar's date, time and close as the file gives them.
    std::string date, time, close;
    // The marks at the newest bar: Up, Down, or None where the close waves went apart (mixed).
    TTick mark = TTick::None;
    // How many bars, the newest included, have carried that mark: the bars since the waves turned.
    int barsSinceTurn = 0;
    // The turn of the waves at the newest bar (TurnOf), or None.
    TTick newestTurn = TTick::None;
    // Which way the first close wave went into the newest bar.
    TWaveDirection wave1 = TWaveDirection::Flat;
    // The marks at close, where they were asked for and the run completed.
    std::optional<TAtCloseSummary> atClose;
    // The track records, where they were asked for and the run completed.
    std::optional<TTrackSummaries> track;
};

// The words for a row's mark ("up", "down", "mixed") and wave ("rising", "falling", "flat"), as
// the watch list and quillon-scan show them.
std::string_view MarkText(TTick mark);
std::string_view DirectionText(TWaveDirection direction);

// A run of the file at path that ended with outcome, summed up: the newest bar of a complete run,
// else the failure.
TWatchRow WatchRowOf(const std::string& path, const TRun& run, const TRunOutcome& outcome);

// The run of the file at path with numbers, summed up. Never raises: a failure is the row's.
TWatchRow WatchRowOf(const std::string& path, const TRunNumbers& numbers, const TReadSettings& read,
                     TRun& run);

} // namespace quillon
