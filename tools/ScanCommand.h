#pragma once

#include <span>
#include <string>
#include <string_view>

namespace quillon {

inline constexpr std::string_view ScanProgram = "quillon-scan";

// The most files worked out side by side: past the processors, more threads only share them.
inline constexpr int MaxScanJobs = 256;

// quillon-scan: a row for each bar file named or found in a folder named, as CSV or JSON. args
// are the arguments after the program's name; prices are read with decimalSeparator; --jobs is
// processors unless given. The rows or the usage go to out, messages to err; returns the exit
// status.
int RunScanCommand(std::span<const std::string_view> args, char decimalSeparator, int processors,
                   std::string& out, std::string& err);

// The processors this process may run on.
int ProcessorCount();

} // namespace quillon
