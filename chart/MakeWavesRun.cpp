#include "chart/MakeWavesRun.h"

namespace quillon {

TRunOutcome MakeWavesRun(const TRunSettings& settings, TRun& run, TChartModel& chart,
                         TZoomOnRefill zoom) {
    TRunOutcome outcome = RunFromTexts(settings, run);
    if (outcome.Completed()) {
        FeedChart(run, chart, zoom);
    }
    return outcome;
}

} // namespace quillon
