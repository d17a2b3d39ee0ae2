#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bars/MarksAtClose.h"
#include "bars/MarksAtCloseCache.h"
#include "bars/Turns.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

// The run of the file made of the first `lines` of bars, with a price that is no number on line
// `badLine`.
void RunFirstLines(const TTempDir& dir, const std::vector<TGeneratedBar>& bars, int lines,
                   const TRunNumbers& numbers, TRun& run, int badLine = -1) {
    std::string text;
    for (int line = 0; line < lines; ++line) {
        text += line == badLine ? "20240101,0100,1.08,1.08,1.08,1.08x,1" : BarLineText(bars[line]);
        text += "\r\n";
    }
    WorkOutRun(dir.Write("bars.csv", text), numbers, {}, run);
}

// The newest 500 of 700 bars at the default lags, bar row r on file line 200 + r, line 100 bad.
// What the code under test must give for a row is the newest row's mark of the run on the file cut
// after its line, as the window ran it while that line was the file's last: none up to row 298,
// with fewer than 500 lines, and up to row 399, whose lines take in the bad one. The middle row
// turns at close with a mark that the chart no longer shows.
TEST(MarksAtCloseTest, EachIsTheNewestMarkOfTheFileCutAfterItsLine) {
    const TTempDir dir;
    const std::vector<TGeneratedBar> bars = GenerateBars({.barCount = 700});
    const TRunNumbers numbers;
    TRun run;
    RunFirstLines(dir, bars, 700, numbers, run, 100);
    const TMarksAtClose marks = MarksAtClose(run, 2);
    ASSERT_EQ(marks.size(), 500u);
    int middle = 420;
    while (middle < 499 &&
           (TurnAtClose(marks, middle) == TTick::None || marks[middle] == run.MarkAt(middle))) {
        ++middle;
    }
    ASSERT_LT(middle, 499) << "no bar whose mark was redrawn";
    for (const int row : {298, 399, 400, middle, 499}) {
        TRun cut;
        TMarkAtClose oracle;
        try {
            RunFirstLines(dir, bars, 201 + row, numbers, cut, 100);
            oracle = cut.MarkAt(numbers.N - 1);
        } catch (const QuillonError&) {
        }
        EXPECT_EQ(marks[row], oracle) << row;
        EXPECT_EQ(marks[row].has_value(), row >= 400) << row;
    }
    EXPECT_EQ(marks[499], run.MarkAt(499));
}

// The newest 60 of 100 bars at lags 20 and 8, rows 19 to 59 with a mark at close. The numbers were
// pinned after the marks at close of all 60 rows had been checked against runs of the file cut
// after each row's line, and the agreement, turns and held counted from those by hand: rows 27,
// 39 and 45 turn at close, rows 14 and 39 on the chart, and the chart's mark is the one at close
// on 22 rows.
TEST(MarksAtCloseTest, AgreementTurnsAndHeldOfAPinnedFile) {
    const TTempDir dir;
    TRun run;
    RunFirstLines(dir, GenerateBars({.barCount = 100}), 100, {60, 20, 8}, run);
    const TMarksAtClose marks = MarksAtClose(run, 2);
    const TAgreement agreement = AgreementOf(run, marks);
    const TTurnCounts turns = CountTurns(run, marks);
    EXPECT_EQ(agreement.marked, 41);
    EXPECT_EQ(agreement.agreeing, 22);
    EXPECT_DOUBLE_EQ(agreement.Percent().value_or(0), 100.0 * 22 / 41);
    EXPECT_EQ(turns.atClose, 3);
    EXPECT_EQ(turns.shown, 2);
    EXPECT_EQ(HeldAtClose(marks), 4);
    EXPECT_EQ(TurnAtClose(marks, 39), TTick::Up);
}

// A followed file of 600 lines rewritten as the terminal rewrites it, the keeper's marks held
// against marks worked out afresh after each rewrite, with the runs it made: all 120 at first; one
// when the forming bar changes; two when that bar closes at another price and a bar is added, the
// oldest dropped; those of the 51 rows whose lines take in an older bar that changed; all 100 at
// another bar count.
TEST(MarksAtCloseTest, TheKeeperAfterRewritesHoldsWhatAColdRunWorksOut) {
    const TTempDir dir;
    std::vector<TGeneratedBar> bars = GenerateBars({.barCount = 601});
    TMarksAtCloseCache keeper;
    int first = 0;
    int N = 120;
    const auto rewrite = [&](int runs, const char* step) {
        TRun run;
        const std::vector<TGeneratedBar> lines(bars.begin() + first, bars.begin() + first + 600);
        WorkOutRun(dir.Write("bars.csv", BarFileText(lines)), {N, 30, 12}, {}, run);
        EXPECT_EQ(keeper.Update(run, 2), MarksAtClose(run, 2)) << step;
        EXPECT_EQ(keeper.RunsWorkedOut(), runs) << step;
    };
    rewrite(120, "first run");
    bars[599].close += 30;
    rewrite(1, "forming bar changed");
    bars[599].close -= 45;
    first = 1;
    rewrite(2, "bar added");
    bars[550].close -= 40;
    rewrite(51, "older bar changed");
    N = 100;
    rewrite(100, "bar count changed");
}

// Every stored line's mark at close, over a file of 120 lines at 40 bars with line 60 bad: none
// before line 39 nor from 60 to 99, whose 40 lines take in the bad one. The cut file is the
// oracle, for the first line that has a mark, those around the bad line's reach and the newest;
// the keeper gives the same after a bar is added, working out the new line's run alone.
TEST(MarksAtCloseTest, WholeFileMarksAreThoseOfTheFileCutAtEachLine) {
    const TTempDir dir;
    const std::vector<TGeneratedBar> bars = GenerateBars({.barCount = 121});
    const TRunNumbers numbers{40, 10, 6};
    TRun run;
    RunFirstLines(dir, bars, 120, numbers, run, 60);
    const TMarksAtClose whole = WholeFileMarksAtClose(run, 2);
    ASSERT_EQ(whole.size(), 120u);
    for (const int line : {38, 39, 59, 60, 99, 100, 119}) {
        TRun cut;
        TMarkAtClose oracle;
        try {
            RunFirstLines(dir, bars, line + 1, numbers, cut, 60);
            oracle = cut.MarkAt(numbers.N - 1);
        } catch (const QuillonError&) {
        }
        EXPECT_EQ(whole[line], oracle) << line;
        EXPECT_EQ(whole[line].has_value(), (line >= 39 && line < 60) || line >= 100) << line;
    }
    EXPECT_EQ(LoadedBarsPart(run, whole), MarksAtClose(run, 2));

    TMarksAtCloseCache keeper;
    keeper.Update(run, 2, TMarksAtCloseCache::TScope::WholeFile);
    TRun added;
    RunFirstLines(dir, bars, 121, numbers, added, 60);
    EXPECT_EQ(keeper.Update(added, 2, TMarksAtCloseCache::TScope::WholeFile),
              WholeFileMarksAtClose(added, 2));
    EXPECT_EQ(keeper.RunsWorkedOut(), 1);
}

} // namespace
} // namespace quillon
