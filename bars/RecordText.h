#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "bars/TrackRecord.h"

namespace quillon {

// The track record's figures in words, the same in every locale: the window, its watch list and
// the pictures show them so.

// Whole points with thousands separated by commas, and a sign on all but 0: "+5,468", "-2,262".
std::string PointsText(std::int64_t points);
// A size in points with thousands separated by commas and no sign: a drawdown, "3,227".
std::string DrawdownText(std::int64_t points);
// The mean points per closed trade to a tenth, with thousands and a sign as PointsText:
// "+156.2"; "none" before any trade has closed.
std::string MeanPointsText(const TRecordSummary& summary);
// Two decimals, or "no loss" where nothing was lost: "0.39".
std::string ProfitFactorText(const std::optional<double>& profitFactor);
// The trades won with their share and its 95 % interval in whole %: "12 of 35, 34 %, 95 %: 21-51
// %"; "0 of 0" before any trade has closed.
std::string WinRateText(const TRecordSummary& summary);
// The open position and its points so far: "up, +120", or "none".
std::string OpenPositionText(const TRecordSummary& summary);

} // namespace quillon
