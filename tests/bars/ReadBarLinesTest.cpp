#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "bars/ReadBarLines.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

using std::chrono::milliseconds;

// Reads path and says how long the read took.
milliseconds TimedRead(const std::string& path, const TReadSettings& settings, TBarLines& lines,
                       int& lineCount) {
    const auto start = std::chrono::steady_clock::now();
    lineCount = ReadBarLines(path, settings, lines);
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start);
}

TEST(ReadBarLinesTest, LineEndsAndLongLines) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"empty file", "", {}},
        {"LF only", "a\nb\n", {"a", "b"}},
        {"no end on the last line", "a\r\nb", {"a", "b"}},
        {"trailing empty line", "a\r\nb\r\n\r\n", {"a", "b", ""}},
        {"text after a CR is dropped", "a\rjunk\r\nb\n", {"a", "b"}},
        {"a lone CR does not end a line", "a\rb", {"a"}},
        {"zero bytes are text", std::string("x\0y\r\n", 5), {std::string("x\0y", 3)}},
        {"at most 256 characters stored",
         std::string(256, 'b') + "\n" + std::string(100000, 'c') + "\r\n" + std::string(300, 'd') +
             "\rxy\n",
         {std::string(256, 'b'), std::string(StoredLineLimit, 'c'),
          std::string(StoredLineLimit, 'd')}},
    };
    TTempDir dir;
    for (const auto& c : cases) {
        TBarLines lines;
        ASSERT_EQ(ReadBarLines(dir.Write("bars.csv", c.text), NoPause, lines),
                  static_cast<int>(c.lines.size()))
            << c.name;
        for (int i = 0; i < static_cast<int>(c.lines.size()); ++i) {
            EXPECT_EQ(lines[i], c.lines[static_cast<std::size_t>(i)]) << c.name;
        }
    }
}

TEST(ReadBarLinesTest, ALongFileKeepsItsLastLinesWithoutAPause) {
    TTempDir dir;
    TBarFileSettings settings;
    for (int barCount : {10002, 25000}) {
        settings.barCount = barCount;
        const std::vector<TGeneratedBar> bars = GenerateBars(settings);
        const std::vector<std::string> expected = LinesOf(bars);
        TBarLines lines;
        int lineCount = 0;
        const milliseconds took =
            TimedRead(dir.Write("long.csv", BarFileText(bars)), TReadSettings{}, lines, lineCount);
        ASSERT_EQ(lineCount, BarLinesCapacity);
        EXPECT_LT(took, milliseconds(900)) << barCount << " lines";
        for (int i = 0; i < BarLinesCapacity; ++i) {
            ASSERT_EQ(lines[i], expected[static_cast<std::size_t>(barCount - BarLinesCapacity + i)])
                << barCount << " lines, entry " << i;
        }
    }
}

// The window's reader waits a second (measured loosely here); the others wait as they are told.
TEST(ReadBarLinesTest, AFileThatCannotBeReadCostsAPauseAndNoLines) {
    TTempDir dir;
    const std::string locked = dir.Write("locked.csv", "a\r\nb\r\n");
    const int writer = ::open(locked.c_str(), O_RDWR);
    ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);
    const TReadSettings shortPause{'.', milliseconds(50)};
    const struct {
        const char* name;
        std::string path;
        TReadSettings settings;
    } cases[] = {
        {"missing file", dir.Path("missing.csv"), TReadSettings{}},
        {"no file chosen", "", shortPause},
        {"locked by a writer", locked, shortPause},
    };
    for (const auto& c : cases) {
        TBarLines lines;
        lines[0] = "earlier";
        int lineCount = -1;
        const milliseconds took = TimedRead(c.path, c.settings, lines, lineCount);
        EXPECT_EQ(lineCount, 0) << c.name;
        EXPECT_GE(took, c.settings.failedReadPause) << c.name;
        EXPECT_LT(took, milliseconds(10000)) << c.name;
        EXPECT_EQ(lines[0], "earlier") << c.name;
    }
    ::close(writer);
    TBarLines lines;
    EXPECT_EQ(ReadBarLines(locked, NoPause, lines), 2) << "after the writer let go";
}

} // namespace
} // namespace quillon
