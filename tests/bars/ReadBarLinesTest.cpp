#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "bars/ReadBarLines.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

using std::chrono::milliseconds;

constexpr TReadSettings NoPause{'.', milliseconds(0)};

std::vector<std::string> LinesOf(const std::vector<TGeneratedBar>& bars) {
    std::vector<std::string> lines;
    for (const TGeneratedBar& bar : bars) {
        lines.push_back(BarLineText(bar));
    }
    return lines;
}

// Reads path and says how long the read took.
milliseconds TimedRead(const std::string& path, const TReadSettings& settings, TBarLines& lines,
                       int& lineCount) {
    const auto start = std::chrono::steady_clock::now();
    lineCount = ReadBarLines(path, settings, lines);
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
}

TEST(ReadBarLinesTest, StoresEachLineWithoutItsLineEnd) {
    TTempDir dir;
    TBarFileSettings settings;
    const std::vector<TGeneratedBar> bars = GenerateBars(settings);
    const std::string path = dir.Write("EURUSD60.csv", BarFileText(bars));
    TBarLines lines;
    ASSERT_EQ(ReadBarLines(path, NoPause, lines), 1900);
    const std::vector<std::string> expected = LinesOf(bars);
    for (int i = 0; i < 1900; ++i) {
        ASSERT_EQ(lines[i], expected[static_cast<std::size_t>(i)]) << "line " << i;
    }
}

TEST(ReadBarLinesTest, LineEnds) {
    struct TCase {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    };
    const TCase cases[] = {
        {"empty file", "", {}},
        {"LF only", "a\nb\n", {"a", "b"}},
        {"no end on the last line", "a\r\nb", {"a", "b"}},
        {"trailing empty line", "a\r\nb\r\n\r\n", {"a", "b", ""}},
        {"text after a CR is dropped", "a\rjunk\r\nb\n", {"a", "b"}},
        {"a lone CR does not end a line", "a\rb", {"a"}},
        {"empty lines", "\n\n", {"", ""}},
        {"zero bytes are text", std::string("x\0y\r\n", 5), {std::string("x\0y", 3)}},
    };
    TTempDir dir;
    for (const TCase& c : cases) {
        const std::string path = dir.Write("bars.csv", c.text);
        TBarLines lines;
        ASSERT_EQ(ReadBarLines(path, NoPause, lines), static_cast<int>(c.lines.size())) << c.name;
        for (int i = 0; i < static_cast<int>(c.lines.size()); ++i) {
            EXPECT_EQ(lines[i], c.lines[static_cast<std::size_t>(i)]) << c.name;
        }
    }
}

TEST(ReadBarLinesTest, ALongFileKeepsItsLastLinesWithoutAPause) {
    TTempDir dir;
    TBarFileSettings settings;
    for (int barCount : {10001, 10002, 10500, 25000}) {
        settings.barCount = barCount;
        const std::vector<TGeneratedBar> bars = GenerateBars(settings);
        const std::string path = dir.Write("long.csv", BarFileText(bars));
        TBarLines lines;
        int lineCount = 0;
        const milliseconds took = TimedRead(path, TReadSettings{}, lines, lineCount);
        ASSERT_EQ(lineCount, BarLinesCapacity);
        EXPECT_LT(took, milliseconds(900)) << barCount << " lines";
        const std::vector<std::string> expected = LinesOf(bars);
        const int first = barCount - BarLinesCapacity;
        for (int i = 0; i < BarLinesCapacity; ++i) {
            ASSERT_EQ(lines[i], expected[static_cast<std::size_t>(first + i)])
                << barCount << " lines, entry " << i;
        }
    }
}

TEST(ReadBarLinesTest, StoresAtMost256CharactersOfALine) {
    TTempDir dir;
    const std::string text = std::string(255, 'a') + "\r\n" + std::string(256, 'b') + "\r\n" +
                             std::string(100000, 'c') + "\r\n" + std::string(300, 'd') + "\rxy\n";
    const std::string path = dir.Write("long-lines.csv", text);
    TBarLines lines;
    ASSERT_EQ(ReadBarLines(path, NoPause, lines), 4);
    EXPECT_EQ(lines[0], std::string(255, 'a'));
    EXPECT_EQ(lines[1], std::string(256, 'b'));
    EXPECT_EQ(lines[2], std::string(StoredLineLimit, 'c'));
    EXPECT_EQ(lines[3], std::string(StoredLineLimit, 'd'));
}

long PeakMemoryKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(ReadBarLinesTest, AQuarterGigabyteWithoutALineEndTakesLittleMemory) {
    TTempDir dir;
    const std::string path = dir.WriteSparse("binary.dat", 256LL << 20);
    TBarLines lines;
    ASSERT_EQ(ReadBarLines(path, NoPause, lines), 1);
    EXPECT_EQ(lines[0], std::string(StoredLineLimit, '\0'));
    EXPECT_LT(PeakMemoryKilobytes(), 100 * 1024);
}

TEST(ReadBarLinesTest, AFileThatCannotBeReadCostsAPauseAndNoLines) {
    TTempDir dir;
    const std::string locked = dir.Write("locked.csv", "a\r\nb\r\n");
    const int writer = ::open(locked.c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);

    struct TCase {
        const char* name;
        std::string path;
    };
    const TCase cases[] = {
        {"missing file", dir.Path("missing.csv")},
        {"no file chosen", ""},
        {"a folder", dir.Path("")},
        {"locked by a writer", locked},
    };
    const TReadSettings shortPause{'.', milliseconds(50)};
    for (const TCase& c : cases) {
        TBarLines lines;
        lines[0] = "earlier";
        int lineCount = -1;
        const milliseconds took = TimedRead(c.path, shortPause, lines, lineCount);
        EXPECT_EQ(lineCount, 0) << c.name;
        EXPECT_GE(took, shortPause.failedReadPause) << c.name;
        EXPECT_EQ(lines[0], "earlier") << c.name;
    }
    ::close(writer);
    TBarLines lines;
    EXPECT_EQ(ReadBarLines(locked, NoPause, lines), 2) << "after the writer let go";
}

TEST(ReadBarLinesTest, TheWindowsReaderWaitsASecondForAMissingFile) {
    TTempDir dir;
    TBarLines lines;
    int lineCount = -1;
    const milliseconds took = TimedRead(dir.Path("missing.csv"), TReadSettings{}, lines, lineCount);
    EXPECT_EQ(lineCount, 0);
    EXPECT_GE(took, milliseconds(1000));
    EXPECT_LT(took, milliseconds(10000));
}

} // namespace
} // namespace quillon
