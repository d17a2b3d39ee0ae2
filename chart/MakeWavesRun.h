#pragma once

#include "bars/Run.h"
#include "bars/RunFromTexts.h"
#include "chart/ChartFeed.h"
#include "chart/ChartModel.h"

namespace quillon {

// One Make-Waves run as the window makes it (RunFromTexts), shown all or nothing: a run that
// completes refills the chart's series (FeedChart); one that fails leaves every series as it was
// and says why in its outcome. Only a bar count that is not an integer escapes, as
// IntegerConversionError, before anything is read or changed.
TRunOutcome MakeWavesRun(const TRunSettings& settings, TRun& run, TChartModel& chart,
                         TZoomOnRefill zoom = TZoomOnRefill::Reset);

} // namespace quillon
