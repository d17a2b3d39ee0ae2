#pragma once

#include <cstdint>
#include <string>

#include "bars/BarData.h"
#include "bars/BarLines.h"

namespace quillon {

// How many characters of a line are stored. A bar line longer than FieldTextLimit (255) must still
// fail as too long when it is loaded, and 256 characters are enough to show that; storing no more
// keeps the memory of a read bounded whatever the file holds (a binary file chosen by mistake, a
// huge file without a line end).
inline constexpr int StoredLineLimit = 256;

// Reads the file at path into barLines and returns the number of lines stored. A line ends with
// LF; its text is what precedes its first CR or LF, cut to StoredLineLimit characters; a last line
// without a line end counts too. A file of more than BarLinesCapacity lines keeps its last ones
// (the newest bars), in file order from index 0. Never raises: when the file cannot be opened, is
// locked by a writer or cannot be read to its end, the read waits settings.failedReadPause and
// returns the lines stored by then.
int ReadBarLines(const std::string& path, const TReadSettings& settings, TBarLines& barLines);

// The same read, also giving the file line (counted from 0) that entry 0 of barLines holds: more
// than 0 only when a long file's oldest lines were dropped.
int ReadBarLines(const std::string& path, const TReadSettings& settings, TBarLines& barLines,
                 std::int64_t& firstFileLine);

} // namespace quillon
