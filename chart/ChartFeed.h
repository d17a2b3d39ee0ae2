#pragma once

#include "bars/Run.h"
#include "chart/ChartModel.h"

namespace quillon {

// The chart's look of a run, in the one place the window and quillon-chart share: back to
// automatic scales, then the seven series of a run cleared and refilled with the candles, the two
// close waves (the first with a lime spike up or a red spike down at each mark) and the two open
// waves scaled to lie just under the newest close. Series20 and Series21 are not a run's.
void FeedChart(const TRun& run, TChartModel& chart);

} // namespace quillon
