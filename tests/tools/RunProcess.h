#pragma once

#include <ranges>
#include <string>
#include <vector>

namespace quillon {

struct TProcessResult {
    int exitCode = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs program with args and waits for it, collecting both output streams. environment holds
// NAME=value entries that replace or add to this process's environment.
TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::vector<std::string>& environment = {});

// The pieces of a program's output between delimiters, an empty last one after a trailing one.
inline std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> parts;
    for (const auto part : std::views::split(text, delimiter)) {
        parts.emplace_back(part.begin(), part.end());
    }
    return parts;
}

// No locale from the environment: the C locale, whose decimal separator is a point.
inline const std::vector<std::string> NoLocale{"LC_ALL=", "LC_NUMERIC=", "LANG="};

} // namespace quillon
