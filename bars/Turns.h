#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "bars/Run.h"
#include "bars/RunWaves.h"

namespace quillon {

// The waves turn up at a bar that carries an up mark while the bar before it does not, and turn
// down likewise: the first bar of a stretch of marks in one direction. The one rule for the
// chart's marks, the marks at close, the notifications, the scan's filter and the track record:
// Up, Down or None for a bar marked `mark` after a bar marked `before` (a bar without a mark, or
// before the first, counts as None).
constexpr TTick TurnOf(TTick before, TTick mark) {
    return mark != TTick::None && mark != before ? mark : TTick::None;
}

// TurnOf for bar row `row` of a complete run.
TTick TurnAt(const TRun& run, int row);

// The marks of every bar row of a complete run, oldest first.
std::vector<TTick> ChartMarks(const TRun& run);

// How many marks at the end of marks are the same as the last, the last included: for the marks of
// bars, how many bars the newest mark has stood, the bars since the waves turned. 0 for none.
template <typename Marks>
int HeldAtEnd(const Marks& marks) {
    const auto other = std::find_if(marks.rbegin(), marks.rend(),
                                    [&marks](const auto& mark) { return mark != marks.back(); });
    return static_cast<int>(other - marks.rbegin());
}

// A bar's date, time and close as its line gives them, so that the user finds the bar in the
// terminal as it is written there.
struct TBarStamp {
    std::string date;
    std::string time;
    std::string close;
};
TBarStamp BarStampOf(std::string_view line);

// A turn of the waves at a bar of a complete run, with the bar's stamp.
struct TNewestTurn {
    TTick turn = TTick::None;
    std::string date;
    std::string time;
    std::string close;
};

// The turn `turn` at bar row `row` of run with that bar's stamp; turn None and the texts empty
// when turn is None.
TNewestTurn TurnAtBar(const TRun& run, int row, TTick turn);

// The newest bar's turn (TurnAt); None when the newest bar does not turn or the run has no bars.
TNewestTurn NewestTurn(const TRun& run);

} // namespace quillon
