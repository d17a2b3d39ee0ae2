#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/bars/BarTestFiles.h"
#include "tests/hardening/BadInputFiles.h"
#include "tests/hardening/RunOutcome.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

using std::chrono::milliseconds;

const std::string WavesProgram = QUILLON_WAVES_PROGRAM;
const std::vector<std::string> NoLocale{"LC_ALL=", "LC_NUMERIC=", "LANG="};

// With 500 bars of the standard file, line 1700 is row 300.
constexpr int FaultyLine = 1700;
constexpr int FaultyRow = 300;

const std::string RangeError = "Range check error\n";
const std::string OverflowError = "Floating point overflow\n";

std::string PriceError(const std::string& text) {
    return "'" + text + "' is not a valid floating point value\n";
}

// What quillon-waves did: its exit status, its standard error and, on success, how many rows it
// wrote and the file line of the last.
struct TToolOutcome {
    int exitCode = -1;
    std::string err;
    int rows = 0;
    std::string lastLine;
    bool operator==(const TToolOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TToolOutcome& outcome) {
    return out << "exit " << outcome.exitCode << ", stderr \"" << outcome.err << "\", "
               << outcome.rows << " rows, last line " << outcome.lastLine;
}

TToolOutcome ToolFailure(const std::string& err) {
    return {1, err, 0, ""};
}

TToolOutcome ToolSuccess(int rows, int lastLine) {
    return {0, "", rows, std::to_string(lastLine)};
}

TToolOutcome RunTool(const std::string& path, const std::vector<std::string>& settings) {
    const TProcessResult result = RunProcess(
        WavesProgram, {path, "--bars", settings[0], "--w1", settings[1], "--w2", settings[2]},
        NoLocale);
    TToolOutcome outcome{result.exitCode, result.err, 0, ""};
    if (result.exitCode != 0 || result.out.empty()) {
        return outcome;
    }
    outcome.rows = static_cast<int>(std::count(result.out.begin(), result.out.end(), '\n')) - 1;
    const std::size_t lastRow = result.out.rfind('\n', result.out.size() - 2) + 1;
    const std::size_t lineStart = result.out.find(',', lastRow) + 1;
    outcome.lastLine = result.out.substr(lineStart, result.out.find(',', lineStart) - lineStart);
    return outcome;
}

TRunOutcome RunInWindow(const std::string& path, const std::vector<std::string>& settings) {
    const TRunSettings run{settings[0], settings[1], settings[2], path,
                           TReadSettings{'.', milliseconds(0)}};
    TBarLines barLines;
    TBarTable bars;
    TChartModel chart;
    return RunAndJudge(run, barLines, bars, chart);
}

struct TBadInput {
    const char* name;
    std::function<std::string(const TTempDir&)> makeFile; // returns the path to choose
    std::vector<std::string> settings;                    // bar count, W1, W2
    TRunOutcome window;
    TToolOutcome tool;
};

const std::vector<std::string> Defaults{"500", "39", "16"};

std::string StandardFile(const TTempDir& dir) {
    return dir.Write("bars.csv", JoinLines(BarLines(StandardBars()), "\r\n"));
}

// The standard file with the close of FaultyLine written as closeText.
std::function<std::string(const TTempDir&)> FileWithClose(const std::string& closeText) {
    return [closeText](const TTempDir& dir) {
        std::vector<std::string> lines = BarLines(StandardBars());
        std::string& line = lines[FaultyLine];
        line = WithClose(line, closeText);
        return dir.Write("bars.csv", JoinLines(lines, "\r\n"));
    };
}

std::string Utf16File(const TTempDir& dir) {
    return dir.Write("bars.csv",
                     "\xff\xfe" + Utf16LittleEndian(JoinLines(BarLines(StandardBars()), "\r\n")));
}

// Each line after the first starts with the zero byte that completes the line end before it, and
// the last line end's zero byte is a line of its own: the 500 newest lines start at bar 1401,
// whose close then reads as a zero byte and the close's characters each followed by one.
std::string Utf16FirstLoadedClose() {
    const std::string close = CloseText(BarLines(StandardBars())[1401]);
    return std::string(1, '\0') + Utf16LittleEndian(close);
}

std::string NulInsideClose() {
    const std::string close = CloseText(BarLines(StandardBars())[FaultyLine]);
    return close.substr(0, 3) + std::string(1, '\0') + close.substr(3);
}

std::string CrOnlyFile(const TTempDir& dir) {
    return dir.Write("bars.csv", JoinLines(BarLines(StandardBars()), "\r"));
}

std::string LongFile(const TTempDir& dir) {
    TBarFileSettings settings;
    settings.barCount = 10500;
    return dir.Write("bars.csv", BarFileText(settings));
}

std::string NonAsciiPath(const TTempDir& dir) {
    const std::string folder = dir.Path("Kurse \xc3\xbc\xe2\x82\xac"); // "Kurse ü€"
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/EURUSD\xe2\x82\xa4\xe6\x97\xa5.csv"; // "EURUSD₤日.csv"
    WriteTextFile(path, JoinLines(BarLines(StandardBars()), "\r\n"));
    return path;
}

// The standard file's prices scaled down to near 1e-161 (108000 points as 108000e-166), where the
// wave's sums of products are subnormal.
std::string TinyPrices(const TTempDir& dir) {
    std::vector<std::string> lines;
    for (const TGeneratedBar& bar : StandardBars()) {
        std::string line = bar.date + "," + bar.time;
        for (const std::int64_t points : {bar.open, bar.high, bar.low, bar.close}) {
            line += "," + std::to_string(points) + "e-166";
        }
        lines.push_back(line + "," + std::to_string(bar.volume));
    }
    return dir.Write("bars.csv", JoinLines(lines, "\r\n"));
}

std::string NamedPipe(const TTempDir& dir) {
    const std::string path = dir.Path("bars.csv");
    if (::mkfifo(path.c_str(), 0600) != 0) {
        throw std::runtime_error("cannot make a pipe at " + path);
    }
    return path;
}

const std::vector<TBadInput>& BadInputs() {
    static const std::vector<TBadInput> cases{
        {"empty file", [](const TTempDir& dir) { return dir.Write("bars.csv", ""); }, Defaults,
         SilentEnd(0), ToolFailure(RangeError)},
        {"UTF-16 file", Utf16File, Defaults, SilentEnd(0),
         ToolFailure(PriceError(Utf16FirstLoadedClose()))},
        {"NUL byte inside a close", FileWithClose(NulInsideClose()), Defaults, SilentEnd(FaultyRow),
         ToolFailure(PriceError(NulInsideClose()))},
        {"CR-only line ends make one line", CrOnlyFile, Defaults, SilentEnd(0),
         ToolFailure(RangeError)},
        {"CR-only line ends, one bar asked",
         CrOnlyFile,
         {"1", "1", "1"},
         Complete(1),
         ToolSuccess(1, 0)},
        {"10,500 lines", LongFile, Defaults, Complete(500), ToolSuccess(500, 10499)},
        {"a folder", [](const TTempDir& dir) { return dir.Path(""); }, Defaults, SilentEnd(0),
         ToolFailure(RangeError)},
        {"a device that never ends", [](const TTempDir&) { return std::string("/dev/zero"); },
         Defaults, SilentEnd(0), ToolFailure(RangeError)},
        {"a pipe without a writer", NamedPipe, Defaults, SilentEnd(0), ToolFailure(RangeError)},
        {"non-ASCII path", NonAsciiPath, Defaults, Complete(500), ToolSuccess(500, 1899)},
        {"close 1e308 overflows the waves", FileWithClose("1e308"), Defaults, SilentEnd(500),
         ToolFailure(OverflowError)},
        {"close 1e309 overflows its conversion", FileWithClose("1e309"), Defaults,
         SilentEnd(FaultyRow), ToolFailure(OverflowError)},
        {"close nan", FileWithClose("nan"), Defaults, SilentEnd(FaultyRow),
         ToolFailure(PriceError("nan"))},
        {"close inf", FileWithClose("inf"), Defaults, SilentEnd(FaultyRow),
         ToolFailure(PriceError("inf"))},
        {"prices near 1e-161 have subnormal squares", TinyPrices, Defaults, SilentEnd(500),
         ToolFailure("Invalid floating point operation\n")},
        {"lag 102", StandardFile, {"500", "102", "16"}, SilentEnd(500), ToolFailure(RangeError)},
        {"bar count -1",
         StandardFile,
         {"-1", "39", "16"},
         SilentEnd(0),
         ToolFailure("Invalid floating point operation\n")},
        {"bar count not an integer",
         StandardFile,
         {"5x", "39", "16"},
         ErrorBox("'5x' is not a valid integer value"),
         ToolFailure("'5x' is not a valid integer value\n")},
    };
    return cases;
}

TEST(BadInputTest, EachEndsAsDesignedInTheWindowAndInTheTool) {
    for (const TBadInput& c : BadInputs()) {
        TTempDir dir;
        const std::string path = c.makeFile(dir);
        EXPECT_EQ(RunInWindow(path, c.settings), c.window) << c.name;
        EXPECT_EQ(RunTool(path, c.settings), c.tool) << c.name;
    }
}

// Random bytes, as when a picture or an archive is chosen by mistake: the load fails on the
// first line it cannot cut or convert, and the run ends before any wave.
TEST(BadInputTest, BinaryGarbageEndsTheRunAtTheLoad) {
    TTempDir dir;
    std::mt19937 random(20240102);
    std::string garbage;
    for (int i = 0; i < 300000; ++i) {
        garbage += static_cast<char>(random() & 0xff);
    }
    const std::string path = dir.Write("picture.png", garbage);

    const TRunOutcome window = RunInWindow(path, Defaults);
    EXPECT_EQ(window.end, TRunEnd::SilentEnd) << window;
    EXPECT_LT(window.count, 500);
    const TToolOutcome tool = RunTool(path, Defaults);
    EXPECT_EQ(tool.exitCode, 1);
    const bool ownMessage =
        tool.err == RangeError || tool.err.ends_with(" is not a valid floating point value\n");
    EXPECT_TRUE(ownMessage) << tool.err;
}

// The file chosen in the dialog is gone when the next run reads: that run ends silently after the
// read's pause, and the chart keeps the first run's waves.
TEST(BadInputTest, AFileDeletedAfterItsChoiceEndsTheNextRunSilently) {
    TTempDir dir;
    const TRunSettings settings{"500", "39", "16", StandardFile(dir),
                                TReadSettings{'.', milliseconds(50)}};
    TBarLines barLines;
    TBarTable bars;
    TChartModel chart;
    ASSERT_EQ(RunAndJudge(settings, barLines, bars, chart), Complete(500));
    ASSERT_EQ(::unlink(settings.sourceFilePath.c_str()), 0);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunAndJudge(settings, barLines, bars, chart), SilentEnd(0));
    EXPECT_GE(std::chrono::steady_clock::now() - start, settings.read.failedReadPause);
    EXPECT_EQ(RunTool(settings.sourceFilePath, Defaults), ToolFailure(RangeError));
}

} // namespace
} // namespace quillon
