#pragma once

#include <string>

#include "bars/BarData.h"
#include "bars/BarLines.h"
#include "bars/RunCore.h"
#include "base/IntegerText.h"
#include "chart/ChartModel.h"

namespace quillon {

// The edit boxes' texts and the chosen file, as the window hands them to a run.
struct TRunSettings {
    std::string barCountText = IntegerToText(DefaultBarCount); // Edit3
    std::string lag1Text = IntegerToText(DefaultLag1);         // Edit1, W1
    std::string lag2Text = IntegerToText(DefaultLag2);         // Edit2, W2
    std::string sourceFilePath;
    TReadSettings read;
};

// One Make-Waves run: reads the file, loads the newest N bars, works out the four waves and
// refills the chart's series. Only a bar count that is not an integer escapes, as
// IntegerConversionError, before anything is read or changed; every later failure ends the run
// silently, leaving the series as they stand at that moment: while the bars load, LineSeries1
// takes the provisional close line (x = each bar's line index in the file).
void MakeWavesRun(const TRunSettings& settings, TBarLines& barLines, TBarTable& bars,
                  TChartModel& chart);

// The end of a complete run: back to automatic scales, then the seven series of a run cleared and
// refilled with the candles and the four wave lines of run.
void FeedChart(const TRunCore& run, TChartModel& chart);

} // namespace quillon
