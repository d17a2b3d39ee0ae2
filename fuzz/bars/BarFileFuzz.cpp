#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>
#include <vector>

#include "bars/LoadNewestBars.h"
#include "bars/ReadBarLines.h"
#include "base/Errors.h"
#include "fuzz/FuzzInput.h"

using namespace quillon;

// The bytes go through a real file, as the terminal's do: one in memory, gone with the process.
const int ScratchFile = memfd_create("bar-file-fuzz", 0);
const std::string ScratchPath = "/proc/self/fd/" + std::to_string(ScratchFile);

// A short input repeated makes a file long enough to overflow the line store; files stay within
// 128 KiB so that each case takes well under a millisecond.
constexpr int RepeatChoices[] = {1, 1, 1, 1, 2, 7, 100, 12000};

// The first byte picks the decimal separator and how often the rest repeats, the next two the bar
// count (from -2 to 1200, past the table's 1,000 rows); the rest is the file. The stores are kept
// from case to case, as the window keeps them from run to run, so stale lines of a longer file are
// there to be wrongly read. The closes are handed over in file order.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TBarLines barLines;
    static TBarTable bars;
    TFuzzBytes bytes(data, size);
    const std::uint8_t choice = bytes.Take();
    const char separator = (choice & 1) != 0 ? ',' : '.';
    const int repeats = RepeatChoices[(choice >> 1) % std::size(RepeatChoices)];
    const int N = (bytes.Take() | bytes.Take() << 8) % 1203 - 2;
    const std::string_view piece = bytes.TakeRest();
    std::string content;
    for (int i = 0; i < repeats && content.size() + piece.size() <= 128 * 1024; ++i) {
        content += piece;
    }
    Require(ftruncate(ScratchFile, 0) == 0 &&
            pwrite(ScratchFile, content.data(), content.size(), 0) == std::ssize(content));
    // Dated a minute back: a file changed a moment ago counts as one that a writer is still at.
    const timespec minuteAgo[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 60, 0}};
    Require(futimens(ScratchFile, minuteAgo) == 0);
    const TReadResult read = ReadBarLines(ScratchPath, {separator}, barLines);
    // The lines the reader must keep: split at LF, each cut at its first CR and to the stored
    // length, a last line without LF counted too, and only the newest BarLinesCapacity of them.
    std::vector<std::string> all;
    for (std::string_view rest = content; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        all.emplace_back(line.substr(0, std::min<std::size_t>(line.find('\r'), StoredLineLimit)));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    const int kept = std::min(std::ssize(all), std::ptrdiff_t{BarLinesCapacity});
    Require(read.lineCount == kept && read.firstFileLine == std::ssize(all) - kept);
    for (int i = 0; i < read.lineCount; ++i) {
        Require(barLines[i] == all[all.size() - static_cast<std::size_t>(kept - i)]);
    }
    int nextLine = read.lineCount - N;
    try {
        LoadNewestBars(N, read.lineCount, barLines, separator, bars,
                       [&](int line, double) { Require(line == nextLine++); });
    } catch (const QuillonError&) {
    }
    return 0;
}
