#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

const std::vector<std::string> Numbers{"--bars=40", "--w1=8", "--w2=4"};

TProcessResult RunTool(const char* program, std::vector<std::string> args) {
    args.insert(args.end(), Numbers.begin(), Numbers.end());
    return RunProcess(program, args, NoLocale);
}

// The trades of 80 made-up bars (the newest 40 loaded), a spread of 2. By hand from
// --at-close's column: the marks at close turn down at line 73 (close 1.08075) and up at line 76
// (1.08180), where the short held since 73 loses 105 points and the spread 2; the long opened at
// 76 is open, valued at the newest close 1.08179: -1 - 2. The whole file's first trade opens at
// line 39, the first with 40 lines up to it.
TEST(WavesCommandTest, TradesOfEachRecord) {
    const TTempDir dir;
    const std::string path = dir.Write("bars.csv", BarFileText(TBarFileSettings{.barCount = 80}));
    const TProcessResult trades =
        RunTool(QUILLON_WAVES_PROGRAM, {path, "--trades", "--whole-file", "--spread", "2"});
    EXPECT_EQ(trades.exitCode, 0) << trades.err;
    EXPECT_EQ(
        trades.out,
        R"(record,direction,opened_line,opened_date,opened_time,opened_price,closed_line,closed_date,closed_time,closed_price,points
chart,down,46,20240103,2200,1.08078,55,20240104,0700,1.08040,36
chart,up,55,20240104,0700,1.08040,71,20240104,2300,1.08115,73
chart,down,71,20240104,2300,1.08115,75,20240105,0300,1.08142,-29
chart,up,75,20240105,0300,1.08142,,,,,35
at_close,up,43,20240103,1900,1.08067,45,20240103,2100,1.08094,25
at_close,down,45,20240103,2100,1.08094,58,20240104,1000,1.08076,16
at_close,up,58,20240104,1000,1.08076,65,20240104,1700,1.08101,23
at_close,down,65,20240104,1700,1.08101,67,20240104,1900,1.08162,-63
at_close,up,67,20240104,1900,1.08162,73,20240105,0100,1.08075,-89
at_close,down,73,20240105,0100,1.08075,76,20240105,0400,1.08180,-107
at_close,up,76,20240105,0400,1.08180,,,,,-3
whole_file,down,39,20240103,1500,1.08057,43,20240103,1900,1.08067,-12
)" + trades.out.substr(trades.out.find("whole_file,up,43")));
    EXPECT_EQ(Split(trades.out, '\n').size(), 21u);
    EXPECT_TRUE(trades.out.ends_with("\nwhole_file,up,76,20240105,0400,1.08180,,,,,-3\n"));
}

// --track on 70 made-up bars and a file too short: by hand from their trades, in the chart 41,
// 19 and 38 points won (3 of 3, Wilson 43.9-100 %, no loss), at close -10, 27, 18, 25, -61 (3 of
// 5, 23.1-88.2 %, 70 / 71 = 0.99, the total falling from 60 to -1); the whole file is the loaded
// bars there. Then --follow with a spread of 3: the table's row and the row after a rewrite that
// adds a bar are those of the table of each file.
TEST(ScanCommandTest, TrackColumnsInTheTableAndFollowing) {
    const TTempDir dir;
    const std::string d = dir.Path("");
    const std::vector<TGeneratedBar> bars = GenerateBars({.barCount = 71});
    const auto write = [&](int lines) {
        return dir.Write("EURUSD60.csv",
                         BarFileText(std::vector(bars.begin(), bars.begin() + lines)));
    };
    const std::string path = write(70);
    dir.Write("GBPUSD60.csv", BarFileText(TBarFileSettings{.barCount = 30}));
    const std::string chart = ",3,3,43.9,100.0,98,,0", atClose = ",5,3,23.1,88.2,-1,0.99,61";
    TProcessResult scan = RunTool(QUILLON_SCAN_PROGRAM, {d, "--track", "--whole-file"});
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_EQ(Split(scan.out, '\n').at(1), path +
                                               ",EURUSD,H1,60,20240104,2100,1.08191,up,15,rising," +
                                               chart + atClose + atClose)
        << scan.out;
    EXPECT_TRUE(
        scan.out.ends_with("fewer than the 40 bars asked for\"" + std::string(21, ',') + "\n"));
    EXPECT_TRUE(
        scan.out.starts_with("file,symbol,period,minutes,date,time,close,mark,held,wave1,failure,"
                             "trades_chart,won_chart,win_low_chart,win_high_chart,points_chart,"
                             "profit_factor_chart,drawdown_chart,trades_at_close,"));

    scan = RunTool(QUILLON_SCAN_PROGRAM, {path, "--track", "--format=json"});
    EXPECT_TRUE(scan.out.ends_with(
        R"("wave1":"rising","failure":null,"trades_chart":3,"won_chart":3,"win_low_chart":43.9,"win_high_chart":100.0,"points_chart":98,"profit_factor_chart":null,"drawdown_chart":0,"trades_at_close":5,"won_at_close":3,"win_low_at_close":23.1,"win_high_at_close":88.2,"points_at_close":-1,"profit_factor_at_close":0.99,"drawdown_at_close":61}
]
)")) << scan.out;

    const auto table = [&path] {
        return Split(RunTool(QUILLON_SCAN_PROGRAM, {path, "--track", "--spread=3"}).out, '\n')
            .at(1);
    };
    const std::string before = table();
    TRunningProcess follow(
        QUILLON_SCAN_PROGRAM,
        {"--follow", path, "--track", "--spread=3", Numbers[0], Numbers[1], Numbers[2]}, NoLocale);
    const auto nextLine = [&follow] {
        return follow.ReadLine(std::chrono::seconds(10)).value_or("(no line within 10 s)");
    };
    nextLine();
    EXPECT_EQ(nextLine(), before);
    write(71);
    EXPECT_EQ(nextLine(), table());
    const TProcessResult end = follow.Stop(SIGTERM);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(end.out + end.err, "");

    // Spikes written into lines older than any loaded bar's window change the whole file's record
    // alone: 10 trades become 9, and that row is written too.
    std::vector<TGeneratedBar> older = GenerateBars({.barCount = 120});
    const std::string olderPath = dir.Write("USDJPY60.csv", BarFileText(older));
    TRunningProcess wholeFile(
        QUILLON_SCAN_PROGRAM,
        {"--follow", olderPath, "--track", "--whole-file", Numbers[0], Numbers[1], Numbers[2]},
        NoLocale);
    const auto next = [&wholeFile] {
        return wholeFile.ReadLine(std::chrono::seconds(10)).value_or("(no line within 10 s)");
    };
    next();
    EXPECT_TRUE(next().ends_with(",10,4,16.8,68.7,-312,0.23,372"));
    for (std::size_t line = 3; line < 41; line += 7) {
        older[line].close = older[line].high = older[line].close + 1000;
    }
    WriteTextFile(olderPath, BarFileText(older));
    EXPECT_TRUE(next().ends_with(",9,3,12.1,64.6,-348,0.16,390"));
    wholeFile.Stop(SIGTERM);
}

} // namespace
} // namespace quillon
