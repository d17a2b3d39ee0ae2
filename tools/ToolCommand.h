#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/RunOptions.h"

namespace quillon {

// What the tools that make one run share around the run itself.

// Reads the options as ReadRunOptions does. A usage error puts "PROGRAM: reason", then usage, on
// err and gives ExitUsage; --help puts usage on out and gives ExitSuccess; nothing when the tool
// should go on with the run.
std::optional<int> ReadToolOptions(std::string_view program, std::span<const std::string_view> args,
                                   std::span<const TToolOption> extra, const std::string& usage,
                                   TRunOptions& options, std::string& out, std::string& err);

// A usage error of program: "PROGRAM: reason" and the usage on err; gives ExitUsage.
int UsageError(std::string_view program, const std::string& reason, const std::string& usage,
               std::string& err);

// Does work; a failure in it gives ExitFailure with its whole message on a line of err.
int ReportFailures(const std::function<void()>& work, std::string& err);

// The numeric locale's decimal separator as the environment sets it (LC_ALL, LC_NUMERIC, LANG; a
// point when none is set or when it is not a single byte, which a bar file could not hold in one
// character).
char EnvironmentDecimalSeparator();

// The read of a tool's run: no pause after a failed read, but a file being written is waited for
// up to ToolSettleWait, since a script cannot click again as the window's user does.
TReadSettings ToolReadSettings(char decimalSeparator);
inline constexpr std::chrono::milliseconds ToolSettleWait{1000};

} // namespace quillon
