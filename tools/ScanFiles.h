#pragma once

#include <map>
#include <string>
#include <vector>

#include "bars/MarksAtCloseCache.h"
#include "bars/WatchRow.h"

namespace quillon {

// The rows of quillon-scan: one for each FILE operand as given and one for each bar file of each
// DIR operand (BarFileNames), the files worked out on up to jobs threads, each thread with its own
// run. A file met twice (the same real path: given twice, or given and found in a DIR) is one row,
// under the path it is first met by, the operands in their order and a DIR's files in name order.
// A DIR that cannot be listed gives a row of its own with the reason. Sorted by file name
// (BarFileNameLess), then by path.
//
// With keepers, each row of a complete run gets its marks at close, worked out with the keeper of
// its path in keepers (made where there is none), so that a caller that goes on with the files
// works out only what changes.
using TAtCloseKeepers = std::map<std::string, TMarksAtCloseCache>;
std::vector<TWatchRow> ScanRows(const std::vector<std::string>& operands,
                                const TRunNumbers& numbers, const TReadSettings& read, int jobs,
                                TAtCloseKeepers* keepers = nullptr);

// The row of a run of the keeper's file that completed gets its marks at close, worked out on up
// to `threads` threads (0: one a processor); storage that cannot be had is the row's failure.
void AddMarksAtClose(const TRun& run, TMarksAtCloseCache& keeper, unsigned threads, TWatchRow& row);

// What tells one file from another: its real path, the links in it followed and "." and ".."
// resolved as far as the file and its folders exist; else the path made absolute, or as given.
std::string RealPath(const std::string& path);

} // namespace quillon
