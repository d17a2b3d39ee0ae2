#pragma once

#include <string>
#include <vector>

#include "bars/WatchRow.h"

namespace quillon {

enum class TScanFormat { Csv, Json };

// The rows as quillon-scan writes them, one a file: CSV with a header line, or a JSON array of
// objects. The columns: file, symbol, period, minutes, date, time, close, mark, held, wave1,
// failure. Texts are the file's own (the close as the file writes it); what a row lacks is
// empty in CSV and null in JSON.
std::string ScanTable(const std::vector<TWatchRow>& rows, TScanFormat format);

} // namespace quillon
