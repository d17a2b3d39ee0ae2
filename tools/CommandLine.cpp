#include "tools/CommandLine.h"

#include <algorithm>

namespace quillon {

std::string TCommandLine::ValueOr(std::string_view option, std::string_view fallback) const {
    const auto found = values.find(option);
    return std::string(found == values.end() ? fallback : found->second);
}

std::optional<TCommandLine> ParseCommandLine(std::span<const std::string_view> args,
                                             std::span<const std::string_view> valueOptions) {
    TCommandLine line;
    bool optionsEnded = false;
    for (std::size_t at = 0; at < args.size(); ++at) {
        const std::string_view arg = args[at];
        if (optionsEnded || !arg.starts_with("--")) {
            line.operands.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help") {
            line.help = true;
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        if (std::find(valueOptions.begin(), valueOptions.end(), name) == valueOptions.end()) {
            return std::nullopt;
        }
        if (equals != std::string_view::npos) {
            line.values[std::string(name)] = arg.substr(equals + 1);
        } else if (at + 1 < args.size()) {
            line.values[std::string(name)] = args[++at];
        } else {
            return std::nullopt;
        }
    }
    return line;
}

} // namespace quillon
