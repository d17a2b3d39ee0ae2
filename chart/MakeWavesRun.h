#pragma once

#include <string>

#include "bars/Run.h"
#include "base/IntegerText.h"
#include "chart/ChartFeed.h"
#include "chart/ChartModel.h"

namespace quillon {

// The edit boxes' texts and the chosen file, as the window hands them to a run, with how to read.
struct TRunSettings {
    std::string barCountText = IntegerToText(DefaultBarCount); // Edit3
    std::string lag1Text = IntegerToText(DefaultLag1);         // Edit1, W1
    std::string lag2Text = IntegerToText(DefaultLag2);         // Edit2, W2
    std::string sourceFilePath;
    TReadSettings read;
};

// One Make-Waves run as the window makes it: reads the file, loads the newest N bars, works out
// the four waves and refills the chart's series (FeedChart). Only a bar count that is not an
// integer escapes, as IntegerConversionError, before anything is read or changed; every later
// failure ends the run silently, leaving the series as they stand at that moment: while the bars
// load, LineSeries1 takes the provisional close line (x = each bar's line index in the file).
// Whether the run came to its end and refilled the chart; the window's user is not told.
bool MakeWavesRun(const TRunSettings& settings, TRun& run, TChartModel& chart,
                  TZoomOnRefill zoom = TZoomOnRefill::Reset);

} // namespace quillon
