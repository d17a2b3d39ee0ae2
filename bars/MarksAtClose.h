#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "bars/Run.h"
#include "bars/RunWaves.h"

namespace quillon {

// The chart's marks are worked out over the newest N bars at once, and the end of a reconstruction
// rests on the fewest lag vectors, so the waves near the newest bar are redrawn as bars arrive:
// the mark the chart shows on an older bar is often not the one that bar showed as the newest.
// The mark at close of a loaded bar is that one: the mark of the newest row of the run made on the
// file's lines up to and including the bar's line, with the run's bar count, lags and decimal
// separator, the run the window would have made while that line was the file's last. The newest
// bar's mark at close is the chart's own, provisional until the next bar appears.
//
// TTick::None: that run was made and its newest row carries no mark. std::nullopt: the bar has no
// mark at close, since no such run completes: fewer than N stored lines end at its line (the file
// was too short then), or the run fails on them (a line that cannot be loaded, a fault in the
// waves). Only the close waves are
// worked out, as they alone decide a mark; a run whose open waves alone would fail (opens so large
// that their squares overflow where the closes' do not) still counts as made.
using TMarkAtClose = std::optional<TTick>;
// Entry r belongs to bar row r of the run.
using TMarksAtClose = std::vector<TMarkAtClose>;

// Told, from any of the threads at work, how many of the marks asked for are worked out so far and
// how many there are; it must not raise.
using TMarksProgress = std::function<void(std::size_t done, std::size_t total)>;

// marks[line - firstLine] := the mark at close of stored line `line` of run, a complete run (its
// bars loaded, its waves worked out): the newest row's mark of the run on stored lines
// line-N+1..line. For each of lines, on up to `threads` threads, the caller's included (0: one a
// processor). marks must hold an entry for each of lines. Raises only what is no run's failure (out
// of memory), after all threads have ended.
void WorkOutMarksAtClose(const TRun& run, int firstLine, std::span<const int> lines,
                         TMarksAtClose& marks, unsigned threads,
                         const TMarksProgress& progress = {});

// The marks at close of every bar row of run, a complete run, worked out afresh: entry r for bar
// row r.
TMarksAtClose MarksAtClose(const TRun& run, unsigned threads = 0);

// The marks at close of every stored line of run, worked out afresh: entry i for stored line i, the
// loaded bars' being the last N. A line with fewer than N lines up to it has none.
TMarksAtClose WholeFileMarksAtClose(const TRun& run, unsigned threads = 0,
                                    const TMarksProgress& progress = {});

// The loaded bars' part of marks of every stored line (WholeFileMarksAtClose): entry r for bar row
// r.
TMarksAtClose LoadedBarsPart(const TRun& run, const TMarksAtClose& wholeFile);

// A turn at close: Up at a row whose mark at close is Up while the bar before's is not (Down
// likewise), else None. Row 0's bar before is not loaded: it has None.
TTick TurnAtClose(const TMarksAtClose& marks, int row);

// The bars, the newest included, whose mark at close is the newest's (as a watch row's
// barsSinceTurn counts the chart's marks): for an Up or Down, the bars since the last turn at
// close. 0 when the newest has no mark at close; counting stops at row 0.
int HeldAtClose(const TMarksAtClose& marks);

// Over the loaded bars that have a mark at close: how many, and how many of them have the mark
// that the chart shows for them (None equal to None).
struct TAgreement {
    int marked = 0;
    int agreeing = 0;
    // agreeing as a share of marked, in %; nothing when no bar has a mark at close.
    std::optional<double> Percent() const;
};
TAgreement AgreementOf(const TRun& run, const TMarksAtClose& marks);

// The turns over the loaded bars: at close (TurnAtClose), and of the chart's marks (TurnAt).
struct TTurnCounts {
    int atClose = 0;
    int shown = 0;
};
TTurnCounts CountTurns(const TRun& run, const TMarksAtClose& marks);

} // namespace quillon
