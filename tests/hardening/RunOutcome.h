#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "bars/MakeWavesRun.h"

namespace quillon {

// How a run in the window ended, judged by what it left in the chart.
enum class TRunEnd {
    // The seven series refilled: count candles, their wave lines, an empty provisional line.
    Complete,
    // No message: count provisional close points, every other series as before the run.
    SilentEnd,
    // The bar count's conversion error left the run; the chart untouched.
    ErrorBox,
    // Anything else, which no run may leave.
    Inconsistent,
};

struct TRunOutcome {
    TRunEnd end = TRunEnd::Inconsistent;
    int count = 0;
    std::string message; // the error box's, for ErrorBox
    bool operator==(const TRunOutcome&) const = default;
};

TRunOutcome Complete(int candles);
TRunOutcome SilentEnd(int closePoints);
TRunOutcome ErrorBox(std::string message);

std::ostream& operator<<(std::ostream& out, const TRunOutcome& outcome);

// The points of one series, as plain numbers that compare as a whole.
using TSeriesContent = std::vector<std::vector<double>>;
std::vector<TSeriesContent> ChartContent(const TChartModel& chart);

// One Make-Waves run as the window makes it: an error that escapes is what the error box would
// show. Returns how it ended. Listens to the chart's changes during the run and leaves it without
// a listener.
TRunOutcome RunAndJudge(const TRunSettings& settings, TBarLines& barLines, TBarTable& bars,
                        TChartModel& chart);

} // namespace quillon
