#include "bars/BarFiles.h"

#include <algorithm>
#include <filesystem>

namespace quillon {

namespace fs = std::filesystem;

bool IsBarFileName(std::string_view name) {
    constexpr std::string_view Ending = ".csv";
    if (name.size() <= Ending.size() || name.front() == '.') {
        return false;
    }
    // ASCII letters only: a name's bytes are not read as any character set.
    return std::equal(Ending.begin(), Ending.end(), name.end() - Ending.size(),
                      [](char ending, char c) {
                          return c == ending || (c >= 'A' && c <= 'Z' && c - 'A' + 'a' == ending);
                      });
}

std::vector<std::string> BarFileNames(const std::string& folder, std::error_code& error) {
    std::vector<std::string> names;
    error.clear();
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        // Links followed; an entry whose kind cannot be learnt (a broken link, a link into a
        // folder that may not be searched) is no bar file.
        std::error_code kindUnknown;
        if (IsBarFileName(name) && entry->is_regular_file(kindUnknown)) {
            names.push_back(std::move(name));
        }
    }
    if (error) {
        names.clear();
    }
    std::sort(names.begin(), names.end(), BarFileNameLess);
    return names;
}

bool BarFileNameLess(std::string_view a, std::string_view b) {
    // char_traits<char> compares bytes as unsigned char.
    return a < b;
}

} // namespace quillon
