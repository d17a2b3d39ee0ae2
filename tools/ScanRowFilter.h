#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

#include "bars/WatchRow.h"
#include "live/TurnMemory.h"

namespace quillon {

// Which rows quillon-scan --follow writes: a file's row when it says something else than the row
// last written for the file; with turnsOnly, a row whose newest bar turned, each file, bar and
// direction once however often the file is rewritten while that bar forms.
class TScanRowFilter {
public:
    // files: how many files the table holds, so that none of them is forgotten by the turns kept.
    TScanRowFilter(bool turnsOnly, std::size_t files);

    // Whether row is to be written; when it is, it counts as written from then on.
    bool Take(const TWatchRow& row);
    // A file gone: its last row is let go, so that a folder whose files come and go for days
    // keeps no more than the files there are.
    void Forget(const std::string& path) { written_.erase(path); }

private:
    bool turnsOnly_;
    // The last row written of each file, as its CSV line.
    std::unordered_map<std::string, std::string> written_;
    TTurnMemory turns_;
};

} // namespace quillon
