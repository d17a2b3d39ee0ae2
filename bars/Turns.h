#pragma once

#include <string>

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

// The newest bar of a complete run when the waves turn there, with its date, time and close as the
// file gives them, so that the user finds the bar in the terminal as it is written there.
struct TNewestTurn {
    TTick turn = TTick::None;
    std::string date;
    std::string time;
    std::string close;
};

// turn is None, and the texts empty, when the newest bar does not turn or the run has no bars.
TNewestTurn NewestTurn(const TRun& run);

} // namespace quillon
