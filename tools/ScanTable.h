#pragma once

#include <string>
#include <vector>

#include "bars/WatchRow.h"

namespace quillon {

enum class TScanFormat { Csv, Json };

// The rows as quillon-scan writes them, one a file: CSV with a header line, or a JSON array of
// objects. The columns: file, symbol, period, minutes, date, time, close, mark, held, wave1,
// failure, and with atClose mark_at_close, held_at_close and agree (in %, to a tenth). Texts are
// the file's own (the close as the file writes it); what a row lacks is empty in CSV and null in
// JSON.
std::string ScanTable(const std::vector<TWatchRow>& rows, TScanFormat format, bool atClose = false);

// One row on a line of its own, as a table of format holds it: a CSV line under the table's
// header, or a JSON object, so that a reader of a stream takes one row a line.
std::string ScanRowLine(const TWatchRow& row, TScanFormat format, bool atClose = false);

} // namespace quillon
