#pragma once

#include <string>

#include "bars/MarksAtClose.h"
#include "bars/Run.h"
#include "bars/TrackRecord.h"
#include "chart/ChartModel.h"

namespace quillon {

// What a refill does to the user's zoom.
enum class TZoomOnRefill { Reset, Keep };

// The chart's look of a run, in the one place the window and quillon-chart share: back to
// automatic scales (unless the zoom is kept: its rows and prices then stay in view, so that a view
// of the newest rows stays on the newest bars), then the seven series of a run cleared and
// refilled with the candles, the two close waves (the first with a lime spike up or a red spike
// down at each mark) and the two open waves scaled to lie just under the newest close. Series20,
// Series21 and the marks are not a run's.
void FeedChart(const TRun& run, TChartModel& chart, TZoomOnRefill zoom = TZoomOnRefill::Reset);
// The same for the first N rows of bars and their waves, the about box's made-up market included.
void FeedChart(const TBarTable& bars, const TRunWaves& waves, int N, TChartModel& chart,
               TZoomOnRefill zoom = TZoomOnRefill::Reset);

// The marks layer refilled with the marks at close of run's bars (see MarksAtClose), in a look of
// their own beside the wave's spikes: a triangle under the bar's low at each Up, over its high at
// each Down. Bars whose mark at close is None or missing get none.
void FeedMarksAtClose(const TRun& run, const TMarksAtClose& marks, TChartModel& chart);

// One short line on the marks at close of run's loaded bars: the agreement with the chart's marks
// in whole %, and the turns at close and in the chart's marks; given the run's track records, also
// what trading the turns at close and the chart's turns made over the loaded bars ("traded at
// close -2,262 points in 16 trades; in the chart +5,468 in 7"). The same text in every locale.
std::string MarksAtCloseSummary(const TRun& run, const TMarksAtClose& marks,
                                const TTrackRecords* records = nullptr);

} // namespace quillon
