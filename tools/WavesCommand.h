#pragma once

#include <span>
#include <string>
#include <string_view>

#include "tools/RunOptions.h"

namespace quillon {

inline constexpr std::string_view WavesProgram = "quillon-waves";

// quillon-waves: the newest bars of a bar file with their four waves, as CSV. args are the
// arguments after the program's name; prices are read with decimalSeparator. The CSV or the usage
// goes to out, messages to err; returns the exit status.
int RunWavesCommand(std::span<const std::string_view> args, char decimalSeparator, std::string& out,
                    std::string& err);

} // namespace quillon
