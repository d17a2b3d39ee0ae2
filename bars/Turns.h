#pragma once

#include <string>

#include "bars/Run.h"
#include "bars/RunWaves.h"

namespace quillon {

// The waves turn up at a bar that carries an up mark while the bar before it does not, and turn
// down likewise: the first bar of a stretch of marks in one direction. Up, Down or None for bar
// row `row` of a complete run.
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
