#pragma once

#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>

namespace quillon {

// A file whose last modification lies less than this close to now counts as being written.
//
// A writer that takes no lock leaves no mark but the file itself: the terminal under Wine holds
// the file in a way that Linux programs cannot see, and between two of its writes a half-written
// file can look whole. So the reader goes by the file's modification time. The terminal writes
// its 1,900 lines in one go, pausing between pieces for a few milliseconds at most while it has
// the processor, and then leaves the file alone until a later tick. A busy machine stretches such
// a pause: a writer that meant to pause 5 ms was seen waiting up to 72 ms for a processor on two
// cores with about eight processes ready to run. 100 ms covers that, and stays far above the clock
// tick (1 to 4 ms) that file times are taken from. The price is paid by a click that falls within
// 100 ms after a rewrite: it fails as on a held file and the user clicks again. That is about one
// click in eight when the terminal rewrites every second, far fewer in a quieter market.
//
// A filesystem that keeps whole seconds only dates a write up to a second early, which no such
// rule sees through; the checks after the read (size, times and identity) still hold there.
inline constexpr std::chrono::milliseconds FileSettleTime{100};

// Whether the file of status was modified within FileSettleTime of now, on either side, since a
// file on another machine's disk is dated by that machine's clock. A date further ahead tells
// nothing and counts as settled, or a wrong clock would keep the file from ever being read.
bool IsRecentlyModified(const struct stat& status, const timespec& now);

// Whether the open file, read to its end in bytesRead bytes, is still as before shows it and is
// still the file at path: a writer that truncated or extended it changes its size or times, and
// one that deleted it and created it anew leaves another file (or none) at the path.
bool IsUnchangedSince(int file, const std::string& path, const struct stat& before,
                      std::int64_t bytesRead);

} // namespace quillon
