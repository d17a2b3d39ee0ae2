#pragma once

#include <string>
#include <vector>

#include "bars/WatchRow.h"

namespace quillon {

// The rows of quillon-scan: one for each FILE operand as given and one for each *.csv file of
// each DIR operand (the ending in any case; hidden files left out, subfolders not entered), the
// files worked out on up to jobs threads, each thread with its own run. A DIR that cannot be
// listed gives a row of its own with the reason. Sorted by file name, then by path.
std::vector<TWatchRow> ScanRows(const std::vector<std::string>& operands,
                                const TRunNumbers& numbers, const TReadSettings& read, int jobs);

} // namespace quillon
