#pragma once

#include <chrono>

#include "base/Types.h"

namespace quillon {

// The file's lines as of the last read; BarLinesCapacity lines at the most. The size is the line
// store's from the window's first design, and it stays: over five times the 1,900 bars the
// terminal's script writes, and ten times the 1,000 bars (SeriesCapacity) one run can load.
inline constexpr int BarLinesCapacity = 10001;

// The four price columns of the loaded bars; row 0 is the oldest loaded bar.
struct TBarTable {
    TSeries BarOpen;
    TSeries BarHigh;
    TSeries BarLow;
    TSeries BarClose;
};

// The run's settings as the window starts with them and the tools take them when not told.
inline constexpr int DefaultBarCount = 500;
inline constexpr int DefaultLag1 = 39;
inline constexpr int DefaultLag2 = 16;

// How a run reads its file. The defaults never hold the caller up; the window and the tools each
// set what suits them.
struct TReadSettings {
    // The user's decimal separator; a point where none is set.
    char decimalSeparator = '.';
    // How long a failed read holds the caller up, counted from its start.
    std::chrono::milliseconds failedReadPause{0};
    // How long a read that finds the file held or being written may wait for it to settle,
    // trying again, before it fails: within the pause for the window's click, so that a click
    // during a rewrite shows the new file; up to a second for a script, which cannot click again;
    // 0 when following the file, which tries again when the file next settles.
    std::chrono::milliseconds settleWait{0};
};

} // namespace quillon
