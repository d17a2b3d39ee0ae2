#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

// quillon-scan's row of each file: the newest bar's date, time and close, its mark, for how many
// rows that mark has held and the way the first close wave went into it, rows in byte order of the
// names. The values are quillon-waves' for the same files and numbers: its marks column and its
// first close wave in the newest rows.
TEST(ScanCommandTest, EachRowIsTheNewestBarOfItsFile) {
    const TTempDir dir;
    // Seeds whose newest bars are up, down and mixed, some of them having just turned.
    for (const int seed : {1, 2, 15, 20, 21, 31}) {
        // Built by append: GCC 12 warns of an overlap in "S" + std::to_string(seed) that is not.
        dir.Write(std::string("S").append(std::to_string(seed)).append("60.csv"),
                  BarFileText(TBarFileSettings{.barCount = 350 + seed,
                                               .seed = static_cast<std::uint64_t>(seed)}));
    }
    const TProcessResult scan =
        RunProcess(QUILLON_SCAN_PROGRAM,
                   {dir.Path(""), "--jobs=2", "--bars=300", "--w1=30", "--w2=12"}, NoLocale);
    ASSERT_EQ(scan.exitCode, 0) << scan.err;
    std::string expected = "file,symbol,period,minutes,date,time,close,mark,held,wave1,failure\n";
    for (const char* row : {"S15,H1,60,20240117,0400,1.07974,mixed,3,falling,",
                            "S1,H1,60,20240116,1400,1.07423,down,48,falling,",
                            "S20,H1,60,20240117,0900,1.07899,mixed,1,rising,",
                            "S21,H1,60,20240117,1000,1.07667,down,1,falling,",
                            "S2,H1,60,20240116,1500,1.08523,up,12,rising,",
                            "S31,H1,60,20240117,2000,1.07416,mixed,15,falling,"}) {
        const std::string symbol(row, std::strchr(row, ','));
        expected += dir.Path(symbol + "60.csv,") + row + "\n";
    }
    EXPECT_EQ(scan.out, expected);
}

// A folder of a good file, a short one, one with a bad price and one whose name wants quoting,
// beside a text file, a hidden bar file and a subfolder's, which are not rows: the rows by file
// name, each failure with its reason, as CSV and as JSON. The exit status is 0 while one file is
// worked out, 1 when none is or when no file is found.
TEST(ScanCommandTest, FailedFilesAreRowsWithTheirReasons) {
    const TTempDir dir;
    const std::string d = dir.Path("");
    const std::vector<TGeneratedBar> bars = GenerateBars(TBarFileSettings{.barCount = 600});
    const std::string good = dir.Write("EURUSD60.csv", BarFileText(bars));
    dir.Write("GBPUSD15.csv", BarFileText(TBarFileSettings{.barCount = 100}));
    dir.Write("BAD5.CSV", BarFileText(bars) + "20991231,2300,1.08,1.08,1.08,1.08x,1\r\n");
    const std::string quoted =
        dir.Write("a,\"b\"\xe9.csv", BarFileText(TBarFileSettings{.barCount = 3}));
    dir.Write("notes.txt", BarFileText(bars));
    dir.Write(".EURUSD5.csv", BarFileText(bars));
    std::filesystem::create_directories(dir.Path("old/empty"));
    dir.Write("old/EURUSD1.csv", BarFileText(bars));

    const std::string none = ",,,,,,", fewer = " lines, fewer than the 500 bars asked for\"\n";
    std::string csv[] = {"file,symbol,period,minutes,date,time,close,mark,held,wave1,failure\n",
                         d + "BAD5.CSV,BAD,M5,5" + none +
                             ",line 601: '1.08x' is not a valid floating point value\n",
                         d + "EURUSD60.csv,EURUSD,H1,60,20240126,2300,1.07790,up,18,rising,\n",
                         d + "GBPUSD15.csv,GBPUSD,M15,15" + none + ",\"only 100" + fewer,
                         "\"" + d + "a,\"\"b\"\"\xe9.csv\",,," + none + ",\"only 3" + fewer};
    TProcessResult scan = RunProcess(QUILLON_SCAN_PROGRAM, {d}, NoLocale);
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_EQ(scan.out, csv[0] + csv[1] + csv[2] + csv[3] + csv[4]);

    scan = RunProcess(QUILLON_SCAN_PROGRAM, {quoted, good, "--format", "json"}, NoLocale);
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_EQ(scan.out, "[\n{\"file\":\"" + good +
                            R"(","symbol":"EURUSD","period":"H1","minutes":60,"date":"20240126",)"
                            R"("time":"2300","close":"1.07790","mark":"up","held":18,)"
                            R"("wave1":"rising","failure":null},)" +
                            "\n{\"file\":\"" + d +
                            R"(a,\"b\"\u00e9.csv","symbol":null,"period":null,"minutes":null,)"
                            R"("date":null,"time":null,"close":null,"mark":null,"held":null,)"
                            R"("wave1":null,"failure":"only 3 lines, fewer than the 500 bars )"
                            "asked for\"}\n]\n");

    std::filesystem::remove(good);
    scan = RunProcess(QUILLON_SCAN_PROGRAM, {d, "--jobs=3"}, NoLocale);
    EXPECT_EQ(scan.out, csv[0] + csv[1] + csv[3] + csv[4]);
    EXPECT_EQ(scan.exitCode, 1);
    EXPECT_EQ(scan.err, "quillon-scan: no file could be worked out\n");
    scan = RunProcess(QUILLON_SCAN_PROGRAM, {dir.Path("old/empty")}, NoLocale);
    EXPECT_EQ(scan.out + scan.err, csv[0] + "quillon-scan: no *.csv file found\n");
    EXPECT_EQ(scan.exitCode, 1);
}

// A file met twice is one row, under the path it is first met by: given as DIR/./NAME, found in
// DIR given twice (as DIR/ and DIR/.) and given as DIR/NAME; a missing file given twice.
TEST(ScanCommandTest, AFileGivenTwiceIsOneRow) {
    const TTempDir dir;
    const std::string d = dir.Path("");
    dir.Write("EURUSD60.csv", BarFileText(TBarFileSettings{}));
    const TProcessResult scan = RunProcess(
        QUILLON_SCAN_PROGRAM,
        {d + "./EURUSD60.csv", d, d + ".", d + "EURUSD60.csv", d + "gone.csv", d + "gone.csv"},
        NoLocale);
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    const std::vector<std::string> lines = Split(scan.out, '\n');
    ASSERT_EQ(lines.size(), 4u) << scan.out;
    EXPECT_EQ(lines[1].substr(0, lines[1].find(',')), d + "./EURUSD60.csv");
    EXPECT_EQ(lines[2], d + "gone.csv,,,,,,,,,,no such file");
}

// --at-close with --follow: the table's row, and the row after a rewrite that adds a bar, end with
// the newest bar's mark at close, held and agreement as quillon-waves --at-close's rows of the file
// give them. Every loaded bar has its 120 lines there, so an empty mark at close is a mixed one.
TEST(ScanCommandTest, AtCloseColumnsAgreeWithQuillonWaves) {
    const TTempDir dir;
    const std::vector<TGeneratedBar> bars = GenerateBars({.barCount = 301});
    const std::vector<std::string> numbers{"--bars=120", "--w1=30", "--w2=12", "--at-close"};
    const auto write = [&dir, &bars](int lines) {
        const std::vector<TGeneratedBar> first(bars.begin(), bars.begin() + lines);
        return dir.Write("EURUSD60.csv", BarFileText(first));
    };
    const auto expected = [&numbers](const std::string& path) {
        std::vector<std::string> args{path};
        args.insert(args.end(), numbers.begin(), numbers.end());
        std::vector<std::vector<std::string>> rows;
        for (const std::string& line :
             Split(RunProcess(QUILLON_WAVES_PROGRAM, args, NoLocale).out, '\n')) {
            rows.push_back(Split(line, ','));
        }
        EXPECT_EQ(rows.size(), 122u);
        const std::string newest = rows.at(120).at(11);
        int agreeing = 0, held = 0;
        for (std::size_t i = 1; i <= 120; ++i) {
            agreeing += rows[i].at(10) == rows[i].at(11) ? 1 : 0;
            held = rows[i][11] == newest ? held + 1 : 0;
        }
        char agree[16];
        std::snprintf(agree, sizeof agree, "%.1f", 100.0 * agreeing / 120);
        return ",," + (newest.empty() ? "mixed" : newest) + "," + std::to_string(held) + "," +
               agree;
    };
    const std::string path = write(300);
    std::vector<std::string> args{"--follow", dir.Path("")};
    args.insert(args.end(), numbers.begin(), numbers.end());
    TRunningProcess scan(QUILLON_SCAN_PROGRAM, args, NoLocale);
    const auto nextLine = [&scan] {
        return scan.ReadLine(std::chrono::seconds(10)).value_or("(no line within 10 s)");
    };
    EXPECT_EQ(nextLine(), "file,symbol,period,minutes,date,time,close,mark,held,wave1,failure,"
                          "mark_at_close,held_at_close,agree");
    EXPECT_TRUE(nextLine().ends_with(expected(path)));
    write(301);
    EXPECT_TRUE(nextLine().ends_with(expected(path)));
    const TProcessResult end = scan.Stop(SIGTERM);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(end.out + end.err, "");
}

// --follow on a folder of two files, after its table: a row for a rewrite once it has settled, for
// a file added and for a file removed, each read from the pipe while the tool runs, and nothing
// else (no first run's row that the table holds already); SIGTERM ends it with 0. With --turns and
// JSON, only rows whose newest bar turned: the table's turn, the newest bar turning up instead,
// and not its turning down again, which was told.
TEST(ScanCommandTest, FollowWritesARowForEachChangeUntilSigterm) {
    const TTempDir dir;
    const std::string d = dir.Path("");
    // The newest of 509 bars turns the waves down, or up when it closes at 1.07900; the newest of
    // 510 turns nothing.
    std::vector<TGeneratedBar> down = GenerateBars({.barCount = 509}), up = down;
    up.back().close = up.back().high = 107900;
    const std::vector<TGeneratedBar> plain = GenerateBars({.barCount = 510}),
                                     longer = GenerateBars({.barCount = 511});
    dir.Write("EURUSD60.csv", BarFileText(down));
    dir.Write("GBPUSD60.csv", BarFileText(plain));
    // The beginning of a row: its file, symbol, period and newest bar.
    const auto csv = [&d](const std::string& symbol, const std::vector<TGeneratedBar>& bars) {
        return d + symbol + "60.csv," + symbol + ",H1,60," + bars.back().date + "," +
               bars.back().time + "," + Split(BarLineText(bars.back()), ',').at(5) + ",";
    };
    const auto json = [&d](const std::string& symbol, const std::vector<TGeneratedBar>& bars,
                           const std::string& mark) {
        return "{\"file\":\"" + d + symbol + "60.csv\",\"symbol\":\"" + symbol +
               R"(","period":"H1","minutes":60,"date":")" + bars.back().date + R"(","time":")" +
               bars.back().time + R"(","close":")" + Split(BarLineText(bars.back()), ',').at(5) +
               R"(","mark":")" + mark + R"(","held":1,)";
    };
    const auto expectNext = [](TRunningProcess& scan, const std::string& beginning) {
        const std::string line =
            scan.ReadLine(std::chrono::seconds(10)).value_or("(no line within 10 s)");
        EXPECT_EQ(line.substr(0, beginning.size()), beginning) << line;
    };

    TRunningProcess scan(QUILLON_SCAN_PROGRAM, {"--follow", d}, NoLocale);
    expectNext(scan, "file,symbol,period,minutes,date,time,close,mark,held,wave1,failure");
    expectNext(scan, csv("EURUSD", down) + "down,1,");
    expectNext(scan, csv("GBPUSD", plain));
    dir.Write("GBPUSD60.csv", BarFileText(longer));
    expectNext(scan, csv("GBPUSD", longer));
    dir.Write("USDJPY60.csv", BarFileText(plain));
    expectNext(scan, csv("USDJPY", plain));
    std::filesystem::remove(d + "GBPUSD60.csv");
    expectNext(scan, d + "GBPUSD60.csv,GBPUSD,H1,60,,,,,,,no such file");
    TProcessResult end = scan.Stop(SIGTERM);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(end.out + end.err, "");

    TRunningProcess turns(QUILLON_SCAN_PROGRAM, {d, "--follow", "--turns", "--format=json"},
                          NoLocale);
    expectNext(turns, "[");
    expectNext(turns, json("EURUSD", down, "down"));
    expectNext(turns, "]");
    dir.Write("EURUSD60.csv", BarFileText(up));
    expectNext(turns, json("EURUSD", up, "up"));
    dir.Write("EURUSD60.csv", BarFileText(down));
    // Time for that run, so that a row of it would come before the next file's.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    dir.Write("GBPUSD60.csv", BarFileText(down));
    expectNext(turns, json("GBPUSD", down, "down"));
    end = turns.Stop(SIGINT);
    EXPECT_EQ(end.exitCode, 0);
    EXPECT_EQ(end.out + end.err, "");
}

} // namespace
} // namespace quillon
