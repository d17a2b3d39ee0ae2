#pragma once

#include <string>

#include "bars/BarData.h"
#include "bars/BarLines.h"
#include "chart/ChartModel.h"

namespace quillon {

// The edit boxes' texts and the chosen file, as the window hands them to a run.
struct TRunSettings {
    std::string barCountText = "500"; // Edit3
    std::string lag1Text = "39";      // Edit1, W1
    std::string lag2Text = "16";      // Edit2, W2
    std::string sourceFilePath;
    TReadSettings read;
};

// One Make-Waves run: reads the file, loads the newest N bars, works out the four waves and
// refills the chart's series. Only a bar count that is not an integer escapes, as
// IntegerConversionError, before anything is read or changed; every later failure ends the run
// silently, leaving the series as they stand at that moment.
void MakeWavesRun(const TRunSettings& settings, TBarLines& barLines, TBarTable& bars,
                  TChartModel& chart);

} // namespace quillon
