#pragma once

#include <span>
#include <string>
#include <string_view>

#include "bars/Run.h"

namespace quillon {

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// An option a tool takes beyond the run's own; it always has a value. Either name may be missing
// (empty, or 0 for the letter).
struct TToolOption {
    std::string_view longName;
    char letter = 0;
    std::string* value = nullptr;
};

// The arguments of a tool that makes one run: FILE [--bars N] [--w1 L] [--w2 L] [--help] and
// the tool's own options.
struct TRunOptions {
    std::string path;
    TRunNumbers numbers;
    bool help = false;
};

// Reads args (without the program's name): "--opt value" or "--opt=value", operands anywhere,
// "--" ending the options. The run's numbers are integer texts checked against what a run can
// take. False on a usage error, with a one-line reason (possibly empty) in reason.
bool ReadRunOptions(std::span<const std::string_view> args, std::span<const TToolOption> extra,
                    TRunOptions& options, std::string& reason);

// The usage lines of --bars, --w1, --w2 and --help, with their ranges and defaults.
std::string RunOptionsUsage();

} // namespace quillon
