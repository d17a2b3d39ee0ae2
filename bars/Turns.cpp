#include "bars/Turns.h"

#include "bars/GetField.h"

namespace quillon {

namespace {

// The fields of a bar line that name the bar and its close.
constexpr std::uint8_t DateField = 1;
constexpr std::uint8_t TimeField = 2;
constexpr std::uint8_t CloseField = 6;

std::string FieldOf(std::string_view line, std::uint8_t index) {
    return std::string(GetField(line, ',', index));
}

} // namespace

TTick TurnAt(const TRun& run, int row) {
    // The rows before FirstTickRow carry no mark, so the first marked bar of a run is a turn.
    const TTick mark = run.MarkAt(row);
    return mark != run.MarkAt(row - 1) ? mark : TTick::None;
}

TNewestTurn NewestTurn(const TRun& run) {
    const int newest = run.BarCount() - 1;
    const TTick turn = TurnAt(run, newest);
    if (turn == TTick::None) {
        return {};
    }
    const std::string_view line = run.LineOfRow(newest);
    return {turn, FieldOf(line, DateField), FieldOf(line, TimeField), FieldOf(line, CloseField)};
}

} // namespace quillon
