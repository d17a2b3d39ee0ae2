#pragma once

#include <string>
#include <vector>

#include "bars/WatchRow.h"

namespace quillon {

// The rows of quillon-scan: one for each FILE operand as given and one for each bar file of each
// DIR operand (BarFileNames), the files worked out on up to jobs threads, each thread with its own
// run. A file met twice (the same real path: given twice, or given and found in a DIR) is one row,
// under the path it is first met by, the operands in their order and a DIR's files in name order.
// A DIR that cannot be listed gives a row of its own with the reason. Sorted by file name
// (BarFileNameLess), then by path.
std::vector<TWatchRow> ScanRows(const std::vector<std::string>& operands,
                                const TRunNumbers& numbers, const TReadSettings& read, int jobs);

// What tells one file from another: its real path, the links in it followed and "." and ".."
// resolved as far as the file and its folders exist; else the path made absolute, or as given.
std::string RealPath(const std::string& path);

} // namespace quillon
