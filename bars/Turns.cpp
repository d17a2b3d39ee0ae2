#include "bars/Turns.h"

#include "bars/GetField.h"

namespace quillon {

TTick TurnAt(const TRun& run, int row) {
    // The rows before FirstTickRow carry no mark, so the first marked bar of a run is a turn.
    return TurnOf(run.MarkAt(row - 1), run.MarkAt(row));
}

TNewestTurn NewestTurn(const TRun& run) {
    const int newest = run.BarCount() - 1;
    const TTick turn = TurnAt(run, newest);
    if (turn == TTick::None) {
        return {};
    }
    const std::string_view line = run.LineOfRow(newest);
    return {turn, std::string(BarField(line, DateField)), std::string(BarField(line, TimeField)),
            std::string(BarField(line, CloseField))};
}

} // namespace quillon
