#pragma once

#include <functional>

#include "bars/BarData.h"
#include "bars/BarLines.h"

namespace quillon {

// Told of each bar's index in the line store and its close price, before the bar's row is written.
// The store's index is the line's index in the file only while the file has no more lines than
// the store holds; TRun::LoadBars turns it into the file's.
using TCloseListener = std::function<void(int lineIndex, double close)>;

// Fills rows 0..N-1 of bars from the stored lines lineCount-N .. lineCount-1, row 0 being the
// oldest. Fails on the first line that cannot be loaded, leaving the rows written before it:
// with the range error when the line does not exist (fewer stored lines than N), when the line is
// too long to cut or when N exceeds the table's 1,000 rows (the 1,001st close is still handed
// over); with PriceConversionError when a line has fewer than six fields or a price is not a
// number with the given decimal separator.
void LoadNewestBars(int N, int lineCount, const TBarLines& barLines, char decimalSeparator,
                    TBarTable& bars, const TCloseListener& onClose);

} // namespace quillon
