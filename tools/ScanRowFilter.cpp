#include "tools/ScanRowFilter.h"

#include <algorithm>

#include "tools/ScanTable.h"

namespace quillon {

TScanRowFilter::TScanRowFilter(bool turnsOnly, std::size_t files)
    // A file told of longer ago than every other file's turn is forgotten: with room for twice the
    // table's files, a folder's own files are never forgotten while they keep turning.
    : turnsOnly_(turnsOnly)
    , turns_(std::max(TTurnMemory::DefaultMaxFiles, 2 * files)) {}

bool TScanRowFilter::Take(const TWatchRow& row) {
    if (turnsOnly_) {
        return row.newestTurn != TTick::None &&
               turns_.FirstTime(row.path, row.date + ' ' + row.time, row.newestTurn);
    }
    // Every column, the marks at close's and the track records' too (empty where they were not
    // asked for).
    std::string line = ScanRowLine(row, TScanFormat::Csv, {true, true, true});
    std::string& last = written_[row.path];
    if (line == last) {
        return false;
    }
    last = std::move(line);
    return true;
}

} // namespace quillon
