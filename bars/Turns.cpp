#include "bars/Turns.h"

#include "bars/GetField.h"

namespace quillon {

TTick TurnAt(const TRun& run, int row) {
    // The rows before FirstTickRow carry no mark, so the first marked bar of a run is a turn.
    return TurnOf(run.MarkAt(row - 1), run.MarkAt(row));
}

std::vector<TTick> ChartMarks(const TRun& run) {
    std::vector<TTick> marks(static_cast<std::size_t>(run.BarCount()));
    for (int row = 0; row < run.BarCount(); ++row) {
        marks[static_cast<std::size_t>(row)] = run.MarkAt(row);
    }
    return marks;
}

TBarStamp BarStampOf(std::string_view line) {
    return {std::string(BarField(line, DateField)), std::string(BarField(line, TimeField)),
            std::string(BarField(line, CloseField))};
}

TNewestTurn TurnAtBar(const TRun& run, int row, TTick turn) {
    if (turn == TTick::None) {
        return {};
    }
    TBarStamp stamp = BarStampOf(run.LineOfRow(row));
    return {turn, std::move(stamp.date), std::move(stamp.time), std::move(stamp.close)};
}

TNewestTurn NewestTurn(const TRun& run) {
    const int newest = run.BarCount() - 1;
    return TurnAtBar(run, newest, TurnAt(run, newest));
}

} // namespace quillon
