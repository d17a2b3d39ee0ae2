#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bars/Run.h"
#include "tools/ToolCommand.h"

namespace quillon {

// The arguments of a tool that makes one run: FILE [--bars N] [--w1 L] [--w2 L] and the tool's
// own options.
struct TRunOptions {
    std::string path;
    TRunNumbers numbers;
};

// The operands a tool takes, as its usage names them: one FILE, or one or more of them.
struct TOperandRule {
    std::string_view name = "FILE";
    bool many = false;
};

// Reads the run's options and the tool's own (extra) from args as ReadToolCommandLine does, the
// operands into operands as rule allows them. The run's numbers are integer texts checked against
// what a run can take; numbers holds their defaults (TRunNumbers's), and a default lag above the
// bars asked for is a usage error that names it as the default, not as an option typed. The status
// the tool ends with when it goes no further (a usage error; --help; --version), nothing when it
// should go on.
std::optional<int> ReadRunCommandLine(std::string_view program,
                                      std::span<const std::string_view> args,
                                      std::span<const TOption> extra, const std::string& usage,
                                      const TOperandRule& rule, std::vector<std::string>& operands,
                                      TRunNumbers& numbers, std::string& out, std::string& err);

// The same for a tool that makes one run, of one FILE.
std::optional<int> ReadToolOptions(std::string_view program, std::span<const std::string_view> args,
                                   std::span<const TOption> extra, const std::string& usage,
                                   TRunOptions& options, std::string& out, std::string& err);

// The usage lines of --bars, --w1, --w2, --help and --version, with their ranges and defaults.
std::string RunOptionsUsage();
// The usage paragraph on how a tool reads a bar file: the decimal separator, and a file being
// written.
std::string RunReadingUsage();

// The numeric locale's decimal separator as the environment sets it (LC_ALL, LC_NUMERIC, LANG), as
// DecimalSeparatorOf takes it; a point when none is set.
char EnvironmentDecimalSeparator();

} // namespace quillon
