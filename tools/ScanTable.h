#pragma once

#include <string>
#include <vector>

#include "bars/WatchRow.h"

namespace quillon {

enum class TScanFormat { Csv, Json };

// The columns written beyond the plain ones.
struct TScanColumns {
    // mark_at_close, held_at_close, agree.
    bool atClose = false;
    // The track records' figures, in chart and at close, and the whole file's with wholeFile.
    bool track = false;
    bool wholeFile = false;
};

// The rows as quillon-scan writes them, one a file: CSV with a header line, or a JSON array of
// objects. The columns: file, symbol, period, minutes, date, time, close, mark, held, wave1,
// failure; with atClose mark_at_close, held_at_close and agree (in %, to a tenth); with track, for
// chart, at_close and with wholeFile whole_file, the record's trades_, won_, win_low_, win_high_
// (the win rate's 95 % interval in %, to a tenth), points_ (whole), profit_factor_ (two decimals,
// none for no loss) and drawdown_ (whole), each name ending in the record's. Texts are the
// file's own (the close as the file writes it); what a row lacks is empty in CSV and null in
// JSON.
std::string ScanTable(const std::vector<TWatchRow>& rows, TScanFormat format,
                      const TScanColumns& columns = {});

// One row on a line of its own, as a table of format holds it: a CSV line under the table's
// header, or a JSON object, so that a reader of a stream takes one row a line.
std::string ScanRowLine(const TWatchRow& row, TScanFormat format, const TScanColumns& columns = {});

} // namespace quillon
