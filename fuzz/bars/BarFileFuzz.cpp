#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "bars/LoadNewestBars.h"
#include "bars/ReadBarLines.h"
#include "base/Errors.h"
#include "fuzz/FuzzInput.h"

namespace {

using namespace quillon;

// The bytes go through a real file, as the terminal's do; memory-backed when /dev/shm is there.
const std::string ScratchPath = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                                "/quillon-bar-file-fuzz-" + std::to_string(getpid()) + ".csv";

// A short input repeated makes a file long enough to overflow the line store. Files stay small
// enough that each case takes well under a millisecond to write and read.
constexpr std::size_t LargestFile = 128 * 1024;
constexpr int RepeatChoices[] = {1, 1, 1, 1, 2, 7, 100, 12000};

// The lines the reader must keep: split at LF, each cut at its first CR and to the stored length,
// a last line without LF counted too, and only the newest BarLinesCapacity of them; fileLines
// counts them all.
std::vector<std::string> ExpectedLines(std::string_view content, std::int64_t& fileLines) {
    std::vector<std::string> lines;
    while (!content.empty()) {
        const std::size_t end = content.find('\n');
        const std::string_view line = content.substr(0, end);
        lines.emplace_back(line.substr(0, std::min<std::size_t>(line.find('\r'), StoredLineLimit)));
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    }
    fileLines = static_cast<std::int64_t>(lines.size());
    if (lines.size() > static_cast<std::size_t>(BarLinesCapacity)) {
        lines.erase(lines.begin(), lines.end() - BarLinesCapacity);
    }
    return lines;
}

// Each close is handed over in file order before its row is written, and every loaded price is
// finite.
void LoadAndCheck(int N, int lineCount, const TBarLines& barLines, char separator) {
    static TBarTable bars;
    int nextLine = lineCount - N;
    try {
        LoadNewestBars(N, lineCount, barLines, separator, bars,
                       [&nextLine](int line, double close) {
                           Require(line == nextLine++ && std::isfinite(close));
                       });
    } catch (const QuillonError&) {
        return;
    }
    for (int row = 0; row < N; ++row) {
        for (const TSeries* column : {&bars.BarOpen, &bars.BarHigh, &bars.BarLow, &bars.BarClose}) {
            Require(std::isfinite((*column)[row]));
        }
    }
}

} // namespace

// The first byte picks the decimal separator and how often the rest repeats, the next two the bar
// count (from -2 to 1200, past the table's 1,000 rows); the rest is the file. The store is kept
// from case to case, as the window keeps it from run to run, so stale lines of a longer file are
// there to be wrongly read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int removeAtExit = std::atexit([] { unlink(ScratchPath.c_str()); });
    static TBarLines barLines;
    (void)removeAtExit;

    TFuzzBytes bytes(data, size);
    const std::uint8_t choice = bytes.TakeByte();
    const char separator = (choice & 1) != 0 ? ',' : '.';
    const int repeats = RepeatChoices[(choice >> 1) % std::size(RepeatChoices)];
    const int N = (bytes.TakeByte() | bytes.TakeByte() << 8) % 1203 - 2;
    const std::string_view piece = bytes.TakeRest();
    std::string content;
    for (int i = 0; i < repeats && content.size() + piece.size() <= LargestFile; ++i) {
        content += piece;
    }
    Require(static_cast<bool>(std::ofstream(ScratchPath, std::ios::binary) << content));
    // Dated a minute back once the stream is closed: a file changed a moment ago counts as one
    // that a writer is still at.
    const timespec minuteAgo[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
    Require(::utimensat(AT_FDCWD, ScratchPath.c_str(), minuteAgo, 0) == 0);

    std::int64_t firstFileLine = -1;
    const int lineCount = ReadBarLines(ScratchPath, {separator, std::chrono::milliseconds(0)},
                                       barLines, firstFileLine);
    std::int64_t fileLines = 0;
    const std::vector<std::string> expected = ExpectedLines(content, fileLines);
    Require(lineCount == static_cast<int>(expected.size()) &&
            firstFileLine == fileLines - lineCount);
    for (int i = 0; i < lineCount; ++i) {
        Require(barLines[i] == expected[static_cast<std::size_t>(i)]);
    }
    LoadAndCheck(N, lineCount, barLines, separator);
    return 0;
}
