#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bars/GetField.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/chart/RunOutcome.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

const std::string WavesProgram = QUILLON_WAVES_PROGRAM;
using TSettings = std::array<std::string, 3>; // bar count, W1, W2

// With 500 bars of the standard file (1,900 bars), line 1700 is row 300.
constexpr std::size_t FaultyLine = 1700;

// What quillon-waves did: "exit STATUS", then ", ROWS rows to line LINE" when it wrote CSV and
// ": FIRST LINE" when it wrote to standard error (a usage error's reason, without the usage).
std::string RunTool(const std::string& path, const TSettings& s,
                    const std::vector<std::string>& environment) {
    const TProcessResult result =
        RunProcess(WavesProgram, {path, "--bars", s[0], "--w1", s[1], "--w2", s[2]}, environment);
    std::string outcome = "exit " + std::to_string(result.exitCode);
    if (!result.out.empty()) {
        const std::size_t rows = std::count(result.out.begin(), result.out.end(), '\n') - 1;
        std::string last = result.out.substr(result.out.rfind('\n', result.out.size() - 2) + 1);
        last.erase(0, last.find(',') + 1);
        outcome += ", " + std::to_string(rows) + " rows to line " + last.substr(0, last.find(','));
    }
    return result.err.empty() ? outcome
                              : outcome + ": " + result.err.substr(0, result.err.find('\n') + 1);
}

std::string RunInWindow(const std::string& path, const TSettings& s, char separator) {
    TRun run;
    TChartModel chart;
    return RunAndJudge({s[0], s[1], s[2], path, {separator}}, run, chart);
}

// The environment of a numeric locale, made in dir, whose decimal separator is a comma.
std::vector<std::string> CommaLocale(const TTempDir& dir) {
    const std::string source = dir.Write("comma-source", "LC_NUMERIC\ndecimal_point \",\"\n"
                                                         "thousands_sep \"\"\ngrouping -1\n"
                                                         "END LC_NUMERIC\n");
    const std::string command =
        "localedef -c -i '" + source + "' '" + dir.Path("comma") + "' > /dev/null 2>&1";
    EXPECT_NE(std::system(command.c_str()), -1);
    return {"LOCPATH=" + dir.Path(""), "LC_ALL=comma", "LANG="};
}

using TMakeFile = std::function<std::string(const TTempDir&)>; // returns the path to choose

TMakeFile FileOf(const std::string& text) {
    return [text](const TTempDir& dir) { return dir.Write("bars.csv", text); };
}

const std::vector<std::string> StandardLines = LinesOf(GenerateBars(TBarFileSettings{}));

const TMakeFile StandardFile = FileOf(BarFileText(TBarFileSettings{}));

// The standard file with FaultyLine replaced by line.
TMakeFile WithLine(const std::string& line) {
    std::string text;
    for (std::size_t i = 0; i < StandardLines.size(); ++i) {
        text += (i == FaultyLine ? line : StandardLines[i]) + "\r\n";
    }
    return FileOf(text);
}

// A usage error: a value out of its range.
std::string Refused(const std::string& option, int highest) {
    return "exit 2: quillon-waves: " + option + ": not an integer from 1 to " +
           std::to_string(highest) + "\n";
}

std::string PriceError(const std::string& text) {
    return "exit 1: quillon-waves: '" + text + "' is not a valid floating point value\n";
}

// Every bad input, end to end: how the window's run ends (see RunAndJudge) and what quillon-waves
// prints and returns, with the same file and settings. A window run stops at the first bad line:
// "silent 300" means the close of FaultyLine was not handed over, "silent 301" that it was.
TEST(BadInputTest, EachEndsAsDesignedInTheWindowAndInTheTool) {
    const std::string bar = "20240315,1200,1.08000,1.08040,1.07960,";
    const std::string rangeError = "exit 1: quillon-waves: Range check error\n";
    // The tool names a failed read with its path, which a case's file decides.
    const auto cannotRead = [](const std::string& reason) {
        return "exit 1: quillon-waves: cannot read {path}: " + reason + "\n";
    };
    const std::string complete = "exit 0, 500 rows to line 1899";
    const std::string nulClose = std::string("1.08") + '\0' + "010";
    const struct {
        const char* name;
        TMakeFile makeFile;
        std::string window;
        std::string tool;
        TSettings settings{"500", "39", "16"};
        bool commaLocale = false;
    } cases[] = {
        {"missing file", [](const TTempDir& dir) { return dir.Path("gone.csv"); }, "silent 0",
         cannotRead("no such file")},
        // Even root may not read it: the kernel's switches under /proc/sys check their own modes.
        {"a file nobody may read",
         [](const TTempDir&) { return std::string("/proc/sys/vm/drop_caches"); }, "silent 0",
         cannotRead("permission denied")},
        {"a file written a moment ago: the tool waits for it to settle",
         [](const TTempDir& dir) {
             WriteTextFile(dir.Path("bars.csv"), BarFileText(TBarFileSettings{}));
             return dir.Path("bars.csv");
         },
         "silent 0", complete},
        {"fewer lines than N", FileOf(BarFileText(TBarFileSettings{.barCount = 400})), "silent 0",
         rangeError},
        {"a device that never ends", [](const TTempDir&) { return std::string("/dev/zero"); },
         "silent 0", cannotRead("not a regular file")},
        {"a pipe without a writer",
         [](const TTempDir& dir) {
             EXPECT_EQ(::mkfifo(dir.Path("bars.csv").c_str(), 0600), 0);
             return dir.Path("bars.csv");
         },
         "silent 0", cannotRead("not a regular file")},
        {"a trailing empty line is the newest bar",
         FileOf(BarFileText(TBarFileSettings{}) + "\r\n"), "silent 499", PriceError("")},
        {"six fields are enough", WithLine(bar + "1.08010"), "complete 500", complete},
        {"fields past the sixth are not read", WithLine(bar + "1.08010,87,any text,,"),
         "complete 500", complete},
        {"a line longer than 255 characters", WithLine(bar + "1.08010," + std::string(220, '7')),
         "silent 300", rangeError},
        {"a high that is not a number", WithLine("20240315,1200,1.08,high,1.07,1.08,87"),
         "silent 301", PriceError("high")},
        {"a NUL byte inside a close", WithLine(bar + nulClose + ",87"), "silent 300",
         PriceError(nulClose)},
        {"points under a comma locale", StandardFile, "silent 0",
         PriceError(std::string(GetField(StandardLines[1400], ',', 6))),
         TSettings{"500", "39", "16"}, true},
        {"10,500 lines", FileOf(BarFileText(TBarFileSettings{.barCount = 10500})), "complete 500",
         "exit 0, 500 rows to line 10499"},
        {"close 1e308 overflows the waves", WithLine(bar + "1e308,87"), "silent 500",
         "exit 1: quillon-waves: Floating point overflow\n"},
        {"bar count not an integer", StandardFile, "error box: 'x' is not a valid integer value",
         Refused("--bars x", 1000), TSettings{"x", "39", "16"}},
        {"bar count 0", StandardFile, "silent 0", Refused("--bars 0", 1000),
         TSettings{"0", "39", "16"}},
        {"bar count 1001: the 1,001st close is handed over", StandardFile, "silent 1001",
         Refused("--bars 1001", 1000), TSettings{"1001", "39", "16"}},
        {"W1 not an integer", StandardFile, "silent 500", Refused("--w1 x", 101),
         TSettings{"500", "x", "16"}},
        {"W1 102", StandardFile, "silent 500", Refused("--w1 102", 101),
         TSettings{"500", "102", "16"}},
        {"W2 above N", StandardFile, "silent 100", Refused("--w2 101", 100),
         TSettings{"100", "39", "101"}},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        const std::string path = c.makeFile(dir);
        EXPECT_EQ(RunInWindow(path, c.settings, c.commaLocale ? ',' : '.'), c.window) << c.name;
        const std::vector<std::string> environment = c.commaLocale ? CommaLocale(dir) : NoLocale;
        std::string tool = c.tool;
        if (const std::size_t at = tool.find("{path}"); at != std::string::npos) {
            tool.replace(at, 6, path);
        }
        EXPECT_EQ(RunTool(path, c.settings, environment), tool) << c.name;
    }
}

// A gigabyte of zero bytes without a line end, sparse so that it takes no disk: a run keeps one
// line of StoredLineLimit characters, fails for want of lines and reads a piece at a time. Under
// ctest each test has a process of its own, so this process's peak is the run's.
TEST(ResourceLimitTest, AGigabyteWithoutALineEndEndsTheRunInLittleMemory) {
    TTempDir dir;
    const std::string path = dir.WriteSparse("EURUSD60.csv", 1LL << 30);
    EXPECT_EQ(RunInWindow(path, {"500", "39", "16"}, '.'), "silent 0");
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_SELF, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 100 * 1024) << "kilobytes";
}

} // namespace
} // namespace quillon
