#pragma once

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

// No locale from the environment: the C locale, whose decimal separator is a point.
inline const std::vector<std::string> NoLocale{"LC_ALL=", "LC_NUMERIC=", "LANG="};

} // namespace quillon
