#include <gtest/gtest.h>

#include "bars/Turns.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {

// Rows of the newest 500 of the generator's 510 bars, with their marks as quillon-waves shows them.
TEST(TurnsTest, ATurnIsAMarkThatTheBarBeforeDoesNotCarry) {
    TTempDir dir;
    TRun run;
    WorkOutRun(dir.Write("bars.csv", BarFileText(TBarFileSettings{.barCount = 510})), {}, {}, run);
    using enum TTick;
    const std::tuple<int, TTick, TTick> rows[] = {
        {5, None, None}, {6, Down, Down},   {7, Down, None},   {53, Up, Up},
        {406, Up, None}, {407, Down, Down}, {498, Down, Down}, {499, Down, None}};
    for (const auto& [row, mark, turn] : rows) {
        EXPECT_EQ(std::pair(run.MarkAt(row), TurnAt(run, row)), std::pair(mark, turn)) << row;
    }
    EXPECT_EQ(NewestTurn(run).turn, None);
    EXPECT_THROW(run.LineOfRow(500), RangeCheckError);
}

} // namespace quillon
