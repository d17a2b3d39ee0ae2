#pragma once

#include <string>
#include <string_view>

#include "bars/Run.h"
#include "bars/TrackRecord.h"

namespace quillon {

inline constexpr std::string_view TradesCsvHeader =
    "record,direction,opened_line,opened_date,opened_time,opened_price,closed_line,closed_date,"
    "closed_time,closed_price,points\n";

// quillon-waves --trades: the trades of records, the records of run, as CSV under
// TradesCsvHeader: the chart's, at close, then the whole file's where there is one, each record's
// trades oldest first and its open position last with empty closing fields. A line is given by
// its index in the file, counted from 0, and its date, time and close as the file writes them;
// points are whole, the spread taken off.
std::string TradesCsv(const TRun& run, const TTrackRecords& records);

} // namespace quillon
