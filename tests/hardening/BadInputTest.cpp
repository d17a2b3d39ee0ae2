#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bars/GetField.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/bars/RunOutcome.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

const std::string WavesProgram = QUILLON_WAVES_PROGRAM;
using TSettings = std::array<std::string, 3>; // bar count, W1, W2

// With 500 bars of the standard file (1,900 bars), line 1700 is row 300.
constexpr int FaultyLine = 1700;

// What quillon-waves did: "exit STATUS", then ", ROWS rows to line LINE" when it wrote CSV and
// ": MESSAGE" when it wrote to standard error.
std::string RunTool(const std::string& path, const TSettings& s) {
    const TProcessResult result =
        RunProcess(WavesProgram, {path, "--bars", s[0], "--w1", s[1], "--w2", s[2]}, NoLocale);
    std::string outcome = "exit " + std::to_string(result.exitCode);
    if (!result.out.empty()) {
        const std::size_t rows = std::count(result.out.begin(), result.out.end(), '\n') - 1;
        std::string last = result.out.substr(result.out.rfind('\n', result.out.size() - 2) + 1);
        last.erase(0, last.find(',') + 1);
        outcome += ", " + std::to_string(rows) + " rows to line " + last.substr(0, last.find(','));
    }
    return result.err.empty() ? outcome : outcome + ": " + result.err;
}

std::string RunInWindow(const std::string& path, const TSettings& s) {
    TBarLines barLines;
    TBarTable bars;
    TChartModel chart;
    return RunAndJudge({s[0], s[1], s[2], path, NoPause}, barLines, bars, chart);
}

using TMakeFile = std::function<std::string(const TTempDir&)>; // returns the path to choose

TMakeFile FileOf(const std::string& text) {
    return [text](const TTempDir& dir) { return dir.Write("bars.csv", text); };
}

const std::vector<std::string>& StandardLines() {
    static const std::vector<std::string> lines = LinesOf(GenerateBars(TBarFileSettings{}));
    return lines;
}

std::string Joined(const std::vector<std::string>& lines, const std::string& lineEnd) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + lineEnd;
    }
    return text;
}

std::string CloseOf(const std::string& line) {
    return std::string(GetField(line, ',', 6));
}

// 8-bit text as UTF-16 little-endian, without a byte order mark.
std::string Widened(const std::string& text) {
    std::string wide;
    for (const char c : text) {
        wide += {c, '\0'};
    }
    return wide;
}

// The standard file with the close of FaultyLine written as closeText.
TMakeFile WithClose(const std::string& closeText) {
    std::vector<std::string> lines = StandardLines();
    std::string& line = lines[FaultyLine];
    const std::size_t closeAt = line.rfind(',', line.rfind(',') - 1) + 1;
    line.replace(closeAt, CloseOf(line).size(), closeText);
    return FileOf(Joined(lines, "\r\n"));
}

std::string PriceError(const std::string& text) {
    return "'" + text + "' is not a valid floating point value\n";
}

// After the byte order mark each line starts with the zero byte that completes the line end
// before it, and the last one's zero byte is a line of its own: the 500 newest lines start at bar
// 1401, whose close reads as a zero byte and the close's characters each followed by one.
const std::string Utf16Close = std::string(1, '\0') + Widened(CloseOf(StandardLines()[1401]));
const std::string NulClose = [] {
    std::string close = CloseOf(StandardLines()[FaultyLine]);
    return close.insert(3, 1, '\0');
}();

// Random bytes, as when a picture or an archive is chosen by mistake.
std::string Garbage() {
    std::mt19937 random(20240102);
    std::string garbage(300000, '\0');
    for (char& c : garbage) {
        c = static_cast<char>(random() & 0xff);
    }
    return garbage;
}

// The standard prices scaled down to near 1e-161 (108000 points as 108000e-166), where the
// wave's sums of products are subnormal.
std::string TinyPrices() {
    std::string text;
    for (const TGeneratedBar& bar : GenerateBars(TBarFileSettings{})) {
        text += bar.date + ',' + bar.time;
        for (const std::int64_t points : {bar.open, bar.high, bar.low, bar.close}) {
            text += ',' + std::to_string(points) + "e-166";
        }
        text += ',' + std::to_string(bar.volume) + "\r\n";
    }
    return text;
}

std::string NonAsciiPath(const TTempDir& dir) {
    const std::string folder = dir.Path("Kurse \xc3\xbc\xe2\x82\xac"); // "Kurse ü€"
    std::filesystem::create_directory(folder);
    const std::string path = folder + "/EURUSD\xe2\x82\xa4\xe6\x97\xa5.csv"; // "EURUSD₤日.csv"
    WriteQuietFile(path, BarFileText(TBarFileSettings{}));
    return path;
}

std::string NamedPipe(const TTempDir& dir) {
    const std::string path = dir.Path("bars.csv");
    if (::mkfifo(path.c_str(), 0600) != 0) {
        throw std::runtime_error("cannot make a pipe at " + path);
    }
    return path;
}

// Chosen in the dialog, gone when the run reads; the wait of a failed read is timed in the
// reader's tests.
std::string DeletedFile(const TTempDir& dir) {
    const std::string path = dir.Write("bars.csv", BarFileText(TBarFileSettings{}));
    std::filesystem::remove(path);
    return path;
}

// A gigabyte without a line end and a file without read permission are judged in the resource
// tests, each in a process of its own; a bar count that is not an integer in the run's tests.
TEST(BadInputTest, EachEndsAsDesignedInTheWindowAndInTheTool) {
    const std::string rangeError = ": Range check error\n";
    const struct {
        const char* name;
        TMakeFile makeFile;
        std::string window;
        std::string tool;
        TSettings settings{"500", "39", "16"};
    } cases[] = {
        {"empty file", FileOf(""), "silent 0", "exit 1" + rangeError},
        {"binary garbage", FileOf(Garbage()), "silent 0", "exit 1: " + PriceError("")},
        {"UTF-16 file", FileOf("\xff\xfe" + Widened(BarFileText(TBarFileSettings{}))), "silent 0",
         "exit 1: " + PriceError(Utf16Close)},
        {"NUL byte inside a close", WithClose(NulClose), "silent 300",
         "exit 1: " + PriceError(NulClose)},
        {"CR-only line ends make one line", FileOf(Joined(StandardLines(), "\r")), "silent 0",
         "exit 1" + rangeError},
        {"10,500 lines", FileOf(BarFileText(TBarFileSettings{.barCount = 10500})), "complete 500",
         "exit 0, 500 rows to line 10499"},
        {"a folder", [](const TTempDir& dir) { return dir.Path(""); }, "silent 0",
         "exit 1" + rangeError},
        {"a device that never ends", [](const TTempDir&) { return std::string("/dev/zero"); },
         "silent 0", "exit 1" + rangeError},
        {"a pipe without a writer", NamedPipe, "silent 0", "exit 1" + rangeError},
        {"non-ASCII path", NonAsciiPath, "complete 500", "exit 0, 500 rows to line 1899"},
        {"file deleted before the run", DeletedFile, "silent 0", "exit 1" + rangeError},
        {"close 1e308 overflows the waves", WithClose("1e308"), "silent 500",
         "exit 1: Floating point overflow\n"},
        {"close 1e309 overflows its conversion", WithClose("1e309"), "silent 300",
         "exit 1: Floating point overflow\n"},
        {"close nan", WithClose("nan"), "silent 300", "exit 1: " + PriceError("nan")},
        {"close inf", WithClose("inf"), "silent 300", "exit 1: " + PriceError("inf")},
        {"prices near 1e-161 have subnormal squares", FileOf(TinyPrices()), "silent 500",
         "exit 1: Invalid floating point operation\n"},
        {"lag 102",
         FileOf(BarFileText(TBarFileSettings{})),
         "silent 500",
         "exit 1" + rangeError,
         {"500", "102", "16"}},
        {"bar count -1",
         FileOf(BarFileText(TBarFileSettings{})),
         "silent 0",
         "exit 1: Invalid floating point operation\n",
         {"-1", "39", "16"}},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        const std::string path = c.makeFile(dir);
        EXPECT_EQ(RunInWindow(path, c.settings), c.window) << c.name;
        EXPECT_EQ(RunTool(path, c.settings), c.tool) << c.name;
    }
}

} // namespace
} // namespace quillon
