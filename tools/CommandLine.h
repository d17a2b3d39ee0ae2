#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The arguments of a tool: operands, options with a value ("--bars 500" or "--bars=500") and
// whether help was asked for.
struct TCommandLine {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> values;
    bool help = false;

    // The option's value as given, or fallback when it was not given.
    std::string ValueOr(std::string_view option, std::string_view fallback) const;
};

// Splits args (without the program's name) by the options a tool knows; nothing when an option is
// unknown or lacks its value. "--" ends the options.
std::optional<TCommandLine> ParseCommandLine(std::span<const std::string_view> args,
                                             std::span<const std::string_view> valueOptions);

} // namespace quillon
