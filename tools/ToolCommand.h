#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/CommandLine.h"

namespace quillon {

// What every command-line tool shares: its exit statuses, its command line, --help and
// --version, and the one line that reports a failure, which starts with the program's name.

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// Reads the command line as ReadCommandLine does. A usage error is UsageError's; --help puts usage
// on out, --version the version line, and both give ExitSuccess; nothing when the tool should go
// on.
std::optional<int> ReadToolCommandLine(std::string_view program,
                                       std::span<const std::string_view> args,
                                       std::span<const TOption> options, const std::string& usage,
                                       TCommandLine& line, std::string& out, std::string& err);

// A usage error of program: "PROGRAM: reason", then "Try 'PROGRAM --help'.", on err; gives
// ExitUsage. The usage itself is for --help alone.
int UsageError(std::string_view program, const std::string& reason, std::string& err);

// Does work; a failure in it gives ExitFailure, with "PROGRAM: " and its whole message on a line
// of err.
int ReportFailures(std::string_view program, const std::function<void()>& work, std::string& err);

// What a tool's exit statuses mean, for its --help: the one paragraph every tool ends its usage
// with. success and failure: when it gives 0 and 1 ("on success", "on a failure"); reason: what
// its line on standard error says ("gives the reason: ..."); usageErrors: which usage errors it
// knows, or empty; more: a last sentence of its own, or empty. Wrapped to the usage's width, with
// an empty line before it.
struct TExitStatuses {
    std::string_view success = "on success";
    std::string_view failure = "on a failure";
    std::string_view reason;
    std::string_view usageErrors;
    std::string_view more;
};
std::string ExitStatusUsage(std::string_view program, const TExitStatuses& statuses);

// "PROGRAM VERSION" and a line end, with the project's version.
std::string VersionLine(std::string_view program);

} // namespace quillon
