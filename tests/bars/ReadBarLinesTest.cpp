#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "bars/FileWriterSigns.h"
#include "bars/ReadBarLines.h"
#include "base/Errors.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

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
        {"a line read in two pieces is cut as one",
         std::string(64 * 1024 - 101, 'x') + "\n" + std::string(1000, 'y'),
         {std::string(StoredLineLimit, 'x'), std::string(StoredLineLimit, 'y')}},
    };
    TTempDir dir;
    for (const auto& c : cases) {
        TBarLines lines;
        ASSERT_EQ(ReadBarLines(dir.Write("bars.csv", c.text), {}, lines).lineCount,
                  static_cast<int>(c.lines.size()))
            << c.name;
        for (int i = 0; i < static_cast<int>(c.lines.size()); ++i) {
            EXPECT_EQ(lines[i], c.lines[static_cast<std::size_t>(i)]) << c.name;
        }
    }
}

// A file longer than the store keeps its newest lines in file order, however often the store went
// round and let the text of older lines go.
TEST(ReadBarLinesTest, ALongFileKeepsItsNewestLines) {
    constexpr int Lines = 25000;
    const auto line = [](int k) { return std::to_string(k) + std::string(200, 'x'); };
    std::string text;
    for (int k = 0; k < Lines; ++k) {
        text += line(k) + "\r\n";
    }
    TTempDir dir;
    const std::string path = dir.Write("long.csv", text);
    TBarLines lines;
    const TReadResult read = ReadBarLines(path, {}, lines);
    ASSERT_EQ(read.lineCount, BarLinesCapacity);
    ASSERT_EQ(read.firstFileLine, Lines - BarLinesCapacity);
    for (int i : {0, 1, 4999, BarLinesCapacity - 1}) {
        EXPECT_EQ(lines[i], line(Lines - BarLinesCapacity + i)) << i;
    }
    EXPECT_THROW(lines[BarLinesCapacity], RangeCheckError);
}

// A failed read holds the caller up for its pause, counted from the start: the window's click
// waits for a held file within its second; the others wait as they are told (measured loosely).
TEST(ReadBarLinesTest, AFileThatCannotBeReadCostsAPauseAndNoLines) {
    TTempDir dir;
    // A POSIX record lock as fcntl and lockf take it, here on the first byte alone. One of an
    // open file's own (OFD) stands in for another program's: it conflicts with the reader's look
    // whatever process holds it.
    const std::string recordLocked = dir.Write("record-locked.csv", "a\r\n");
    const int recordWriter = ::open(recordLocked.c_str(), O_RDWR);
    struct flock firstByte {};
    firstByte.l_type = F_WRLCK;
    firstByte.l_whence = SEEK_SET;
    firstByte.l_len = 1;
    ASSERT_EQ(::fcntl(recordWriter, F_OFD_SETLK, &firstByte), 0);
    const std::string locked = dir.Write("locked.csv", "a\r\nb\r\n");
    const int writer = ::open(locked.c_str(), O_RDWR);
    ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);
    const TReadSettings shortPause{'.', milliseconds(50)};
    const TReadSettings click{'.', milliseconds(1000), milliseconds(1000)};
    const TReadSettings settling{'.', milliseconds(50), milliseconds(100)};
    using enum TReadFailure;
    const struct {
        const char* name;
        std::string path;
        TReadSettings settings;
        TReadFailure failure;
        milliseconds cost;
    } cases[] = {
        {"no file chosen", "", shortPause, NoSuchFile, milliseconds(50)},
        {"missing, clicked", dir.Path("missing.csv"), click, NoSuchFile, milliseconds(1000)},
        {"locked by a writer", locked, shortPause, HeldOrBeingWritten, milliseconds(50)},
        {"locked, waited for", locked, settling, HeldOrBeingWritten, settling.settleWait},
        {"locked, clicked", locked, click, HeldOrBeingWritten, milliseconds(1000)},
        {"a record lock", recordLocked, {}, HeldOrBeingWritten, {}},
    };
    const std::string earlier = dir.Write("earlier.csv", "earlier\r\n");
    for (const auto& c : cases) {
        TBarLines lines;
        ASSERT_EQ(ReadBarLines(earlier, {}, lines).lineCount, 1);
        const auto start = std::chrono::steady_clock::now();
        const TReadResult result = ReadBarLines(c.path, c.settings, lines);
        const auto cost = std::chrono::steady_clock::now() - start;
        EXPECT_GE(cost, c.cost) << c.name;
        EXPECT_LT(cost, c.cost + milliseconds(800)) << c.name;
        EXPECT_EQ(result.lineCount, 0) << c.name;
        EXPECT_EQ(result.failure, c.failure) << c.name;
        EXPECT_EQ(lines[0], "earlier") << c.name;
    }
    ::close(writer);
    ::close(recordWriter);
    TBarLines lines;
    EXPECT_EQ(ReadBarLines(locked, {}, lines).lineCount, 2) << "after the writer let go";
}

// After the read, the file must be as before it: the bytes read its size, and its size, times and
// identity unchanged; any one change is a writer at work.
TEST(ReadBarLinesTest, AFileChangedWhileItWasReadIsCaught) {
    TTempDir dir;
    const std::string path = dir.Write("bars.csv", "a\r\n"),
                      other = dir.Write("other.csv", "b\r\n");
    const int file = ::open(path.c_str(), O_RDONLY);
    struct stat before {};
    ASSERT_EQ(::fstat(file, &before), 0);
    EXPECT_TRUE(IsUnchangedSince(file, path, before, 3));
    EXPECT_FALSE(IsUnchangedSince(file, path, before, 2)) << "bytes read";
    WriteQuietFile(path, "a\r\n"); // the same size and date, a change of its status time
    EXPECT_FALSE(IsUnchangedSince(file, path, before, 3)) << "status time";
    ASSERT_EQ(::fstat(file, &before), 0);
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    EXPECT_FALSE(IsUnchangedSince(file, path, before, 3)) << "another file at the path";
    ::close(file);
}

timespec At(nanoseconds sinceEpoch) {
    const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    return {seconds.count(), (sinceEpoch - seconds).count()};
}

// Within FileSettleTime of now on either side, across a second's boundary; dates at the ends of
// the range cannot overflow the comparison.
TEST(ReadBarLinesTest, AFileModifiedCloseToNowCountsAsBeingWritten) {
    const nanoseconds now = std::chrono::seconds(1'700'000'000) + milliseconds(990);
    const struct {
        timespec modified;
        bool recent;
    } cases[] = {
        {At(now - FileSettleTime + nanoseconds(1)), true},
        {At(now - FileSettleTime), false},
        {At(now + FileSettleTime - nanoseconds(1)), true},
        {At(now + FileSettleTime), false},
        {{std::numeric_limits<std::time_t>::min(), 0}, false},
        {{std::numeric_limits<std::time_t>::max(), 999'999'999}, false},
    };
    for (const auto& c : cases) {
        struct stat status {};
        status.st_mtim = c.modified;
        EXPECT_EQ(IsRecentlyModified(status, At(now)), c.recent)
            << c.modified.tv_sec << " s " << c.modified.tv_nsec << " ns";
    }
}

} // namespace
} // namespace quillon
