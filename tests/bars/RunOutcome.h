#pragma once

#include <string>
#include <vector>

#include "bars/MakeWavesRun.h"

namespace quillon {

// The points of each series in the chart's order: {x, y, colour number or -1} for a line point,
// {x, open, high, low, close} for a candle; plain numbers that compare as a whole.
using TSeriesContent = std::vector<std::vector<double>>;
std::vector<TSeriesContent> ChartContent(const TChartModel& chart);

// One Make-Waves run as the window makes it, judged by what it left in the chart:
//   "complete N"       the seven series refilled for N candles, the provisional line empty;
//   "silent N"         no message: N provisional close points, every other series as before;
//   "error box: TEXT"  the bar count's conversion error escaped, the chart untouched;
//   "inconsistent"     anything else, which no run may leave.
std::string RunAndJudge(const TRunSettings& settings, TBarLines& barLines, TBarTable& bars,
                        TChartModel& chart);

} // namespace quillon
