#pragma once

#include <cstddef>
#include <deque>
#include <list>
#include <string>
#include <unordered_map>
#include <utility>

#include "bars/RunWaves.h"

namespace quillon {

// Which turns at the newest bar of a file have been told, so that each file, bar and direction is
// told once however often the file is rewritten while its newest bar forms. Its size stays bounded
// for a program that follows files for weeks: of each file only the last BarsPerFile turns told
// are kept, since an older bar of a file never comes back as its newest, and of the files only the
// maxFiles told of most recently.
class TTurnMemory {
public:
    // The newest bar can turn up and down as it forms, and a rewrite may show the bar before it
    // once more while the terminal adds a bar: two bars with both directions.
    static constexpr std::size_t BarsPerFile = 4;
    static constexpr std::size_t DefaultMaxFiles = 256;

    explicit TTurnMemory(std::size_t maxFiles = DefaultMaxFiles);

    // True when this turn of the file is to be told: it is not among those kept. It is kept from
    // then on, and the file becomes the one told of most recently.
    bool FirstTime(const std::string& file, const std::string& bar, TTick direction);
    // Whether any turn of the file is kept.
    bool Remembers(const std::string& file) const;

private:
    struct TFileTurns {
        std::string file;
        std::deque<std::pair<std::string, TTick>> turns; // the oldest first
    };

    std::size_t maxFiles_;
    std::list<TFileTurns> files_; // the file told of most recently first
    std::unordered_map<std::string, std::list<TFileTurns>::iterator> byName_;
};

} // namespace quillon
