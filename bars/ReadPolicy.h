#pragma once

#include <chrono>

#include "bars/BarData.h"

namespace quillon {

// How the program reads a bar file that its writer, the terminal, may be rewriting at any moment.

// A click's failed read holds the window up this long, and a click that finds the file being
// written waits as long for it to settle: the terminal is probably rewriting the file, and the
// user's next click comes after it.
inline constexpr std::chrono::milliseconds FailedReadPause{1000};
// A watched file found held is read again this long after, unless it changes before: its writer
// may let go of it without another change to be told of.
inline constexpr std::chrono::milliseconds HeldFileRetry{1000};

// The read of a click: waits for a file being written, and pauses after a failure.
TReadSettings ClickRead(char decimalSeparator);
// The read of a watched file: neither waits nor pauses, since the watcher tells when the file
// settles and retries a held one.
TReadSettings WatchedRead(char decimalSeparator);
// The read of a script: waits as long as a click for a file being written, since a script cannot
// click again, and does not pause after a failure.
TReadSettings ScriptRead(char decimalSeparator);

} // namespace quillon
