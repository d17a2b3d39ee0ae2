#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdlib>
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

const std::vector<TGeneratedBar> StandardBars = GenerateBars(TBarFileSettings{});
const std::string StandardText = BarFileText(TBarFileSettings{});

// The standard file's text with FaultyLine, which no other line repeats, replaced by line.
std::string WithLine(const std::string& line) {
    const std::string faulty = BarLineText(StandardBars[FaultyLine]);
    return std::string(StandardText).replace(StandardText.find(faulty), faulty.size(), line);
}

// Bad inputs end to end: how the window's run ends (see RunAndJudge) and what quillon-waves prints
// and returns, each failure in the words the window shows. Missing files and trailing empty lines
// are the reader's tests' (and quillon-chart's), overflows in the waves the engine's.
TEST(BadInputTest, EachEndsAsDesignedInTheWindowAndInTheTool) {
    TTempDir dir;
    // Even root may not read it: the kernel's switches under /proc/sys check their own modes.
    const std::string unreadable = "/proc/sys/vm/drop_caches", pipe = dir.Path("pipe.csv"),
                      fresh = dir.Path("fresh.csv");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A numeric locale whose decimal separator is a comma.
    const std::string source = dir.Write("comma-source", "LC_NUMERIC\ndecimal_point \",\"\n"
                                                         "thousands_sep \"\"\ngrouping -1\n"
                                                         "END LC_NUMERIC\n");
    const std::string localedef = "localedef -c -i '" + source + "' '" + dir.Path("comma") + "'";
    EXPECT_NE(std::system((localedef + " > /dev/null 2>&1").c_str()), -1);
    const std::vector<std::string> comma{"LOCPATH=" + dir.Path(""), "LC_ALL=comma", "LANG="};
    const auto cannotRead = [](const std::string& path, const std::string& reason) {
        return "exit 1: quillon-waves: cannot read " + path + ": " + reason + "\n";
    };
    const auto refused = [](const std::string& option, const char* highest) {
        return "exit 2: quillon-waves: " + option + ": not an integer from 1 to " + highest + "\n";
    };
    const auto priceError = [](const char* line, const std::string& text) {
        return "exit 1: quillon-waves: line " + std::string(line) + ": '" + text +
               "' is not a valid floating point value\n";
    };
    const std::string complete = "exit 0, 500 rows to line 1899";
    const std::string bar = "20240315,1200,1.08000,1.08040,1.07960,";
    const std::string nulClose = std::string("1.08") + '\0' + "010";
    // The close of the first bar loaded, row 0 of the newest 500.
    const std::string commaClose(GetField(BarLineText(StandardBars[1400]), ',', 6));
    const struct {
        const char* name;
        std::string file; // a path, or the text of a file written an hour ago
        std::string window, tool;
        TSettings settings{"500", "39", "16"};
        bool commaLocale = false;
    } cases[] = {
        {"a file nobody may read", unreadable, "failed: permission denied",
         cannotRead(unreadable, "permission denied")},
        {"a file written a moment ago: the tool waits for it to settle", fresh,
         "failed: held or being written by another program", complete},
        {"fewer lines than N", BarFileText(TBarFileSettings{.barCount = 400}),
         "failed: only 400 lines, fewer than the 500 bars asked for",
         "exit 1: quillon-waves: only 400 lines, fewer than the 500 bars asked for\n"},
        {"a device that never ends", "/dev/zero", "failed: not a regular file",
         cannotRead("/dev/zero", "not a regular file")},
        {"a pipe without a writer", pipe, "failed: not a regular file",
         cannotRead(pipe, "not a regular file")},
        {"six fields are enough", WithLine(bar + "1.08010"), "complete 500", complete},
        {"fields past the sixth are not read", WithLine(bar + "1.08010,87,any text,,"),
         "complete 500", complete},
        {"a line longer than 255 characters", WithLine(bar + "1.08010," + std::string(220, '7')),
         "failed: line 1,701: Range check error",
         "exit 1: quillon-waves: line 1,701: Range check error\n"},
        {"a high that is not a number", WithLine("20240315,1200,1.08,high,1.07,1.08,87"),
         "failed: line 1,701: 'high' is not a valid floating point value",
         priceError("1,701", "high")},
        {"a NUL byte inside a close", WithLine(bar + nulClose + ",87"),
         "failed: line 1,701: '" + nulClose + "' is not a valid floating point value",
         priceError("1,701", nulClose)},
        {"points under a comma locale", StandardText,
         "failed: line 1,401: '" + commaClose + "' is not a valid floating point value",
         priceError("1,401", commaClose), TSettings{"500", "39", "16"}, true},
        {"10,500 lines", BarFileText(TBarFileSettings{.barCount = 10500}), "complete 500",
         "exit 0, 500 rows to line 10499"},
        {"bar count not an integer", StandardText, "error box: 'x' is not a valid integer value",
         refused("--bars x", "1000"), TSettings{"x", "39", "16"}},
        {"bar count 0", StandardText, "failed: the W1 lag 39 is above the 0 bars asked for",
         refused("--bars 0", "1000"), TSettings{"0", "39", "16"}},
        {"bar count 1001", StandardText, "failed: Range check error",
         refused("--bars 1001", "1000"), TSettings{"1001", "39", "16"}},
        {"W1 x", StandardText, "failed: 'x' is not a valid integer value (W1)",
         refused("--w1 x", "101"), TSettings{"500", "x", "16"}},
        {"W1 102", StandardText, "failed: the W1 lag 102 is not from 1 to 101",
         refused("--w1 102", "101"), TSettings{"500", "102", "16"}},
        {"W2 > N", StandardText, "failed: the W2 lag 101 is above the 100 bars asked for",
         refused("--w2 101", "100"), TSettings{"100", "39", "101"}},
    };
    for (const auto& c : cases) {
        if (c.file == fresh) {
            WriteTextFile(c.file, StandardText);
        }
        const std::string path = c.file.starts_with('/') ? c.file : dir.Write("bars.csv", c.file);
        EXPECT_EQ(RunInWindow(path, c.settings, c.commaLocale ? ',' : '.'), c.window) << c.name;
        const std::vector<std::string> environment = c.commaLocale ? comma : NoLocale;
        EXPECT_EQ(RunTool(path, c.settings, environment), c.tool) << c.name;
    }
}

// A gigabyte of zero bytes without a line end, sparse so that it takes no disk: a run keeps one
// line of StoredLineLimit characters, fails for want of lines and reads a piece at a time. Under
// ctest each test has a process of its own, so this process's peak is the run's.
TEST(ResourceLimitTest, AGigabyteWithoutALineEndEndsTheRunInLittleMemory) {
    TTempDir dir;
    const std::string path = dir.WriteSparse("EURUSD60.csv", 1LL << 30);
    EXPECT_EQ(RunInWindow(path, {"500", "39", "16"}, '.'),
              "failed: only 1 lines, fewer than the 500 bars asked for");
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_SELF, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 100 * 1024) << "kilobytes";
}

} // namespace
} // namespace quillon
