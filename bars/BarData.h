#pragma once

#include <chrono>
#include <string>

#include "base/Types.h"

namespace quillon {

// The file's lines as of the last read; BarLinesCapacity lines at the most.
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

// A failed read of the bar file waits this long in the window: the terminal is probably
// rewriting it.
inline constexpr std::chrono::milliseconds FailedReadPause{1000};

struct TReadSettings {
    // The user's decimal separator; a point where none is set.
    char decimalSeparator = '.';
    // How long a failed read holds the caller up; the command-line tools do not wait.
    std::chrono::milliseconds failedReadPause = FailedReadPause;
    // How long a read that finds the file held or being written may wait for it to settle,
    // trying again, before it fails: 0 for the window, where the user clicks again; up to a
    // second for a script, which cannot.
    std::chrono::milliseconds settleWait{0};
};

} // namespace quillon
