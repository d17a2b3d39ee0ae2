#pragma once

#include <cstdint>
#include <string>

#include "bars/BarData.h"
#include "bars/BarLines.h"
#include "bars/FileWriterSigns.h"

namespace quillon {

// How many characters of a line are stored. A bar line longer than FieldTextLimit (255) must still
// fail as too long when it is loaded, and 256 characters are enough to show that; storing no more
// keeps the memory of a read bounded whatever the file holds (a binary file chosen by mistake, a
// huge file without a line end).
inline constexpr int StoredLineLimit = 256;

// Why a read failed. The window does not look at it; the command-line tools name it.
enum class TReadFailure {
    None,
    NoSuchFile,      // also when no file is chosen (an empty path)
    NotARegularFile, // a folder, a device, a pipe
    PermissionDenied,
    HeldOrBeingWritten, // locked by a writer, or changed too lately or while it was read
    ReadError,          // any other failure of the system's calls
};

// The reason in words, as a tool puts it after "cannot read PATH: ": "no such file".
const char* ReadFailureText(TReadFailure failure);

struct TReadResult {
    int lineCount = 0;
    // The file line (counted from 0) that entry 0 of the line store holds: more than 0 only when a
    // long file's oldest lines were dropped.
    std::int64_t firstFileLine = 0;
    TReadFailure failure = TReadFailure::None;
};

// Reads the file at path into barLines: the one way the product reads a bar file. A line ends with
// LF; its text is what precedes its first CR or LF, cut to StoredLineLimit characters; a last line
// without a line end counts too. A file of more than BarLinesCapacity lines keeps its last ones
// (the newest bars), in file order from index 0. Never raises.
//
// A file that another program is writing is not read, whether or not that program locks it: the
// read fails as on a held file when the file is locked for writing (by flock, or by a POSIX record
// lock as fcntl and lockf take it), was modified less than FileSettleTime ago, or changed in size,
// times or identity while it was read. Such a read gives a line count of 0 even when it had stored
// lines, so that what it caught of a half-written file is never loaded. With a settleWait it tries
// again until the file settles or the wait is over.
//
// When the file cannot be opened, is held or being written, or cannot be read to its end, the read
// holds the caller up until settings.failedReadPause has passed since it began, the settleWait
// included. It returns a line count of 0, except after a read error part
// way through the file, when it returns the lines stored by then.
TReadResult ReadBarLines(const std::string& path, const TReadSettings& settings,
                         TBarLines& barLines);

} // namespace quillon
