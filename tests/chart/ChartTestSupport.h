#pragma once

#include "chart/ChartModel.h"

namespace quillon {

// Empties all nine series, leaving the model as a run finds it before refilling.
inline void ClearAllSeries(TChartModel& model) {
    model.Series17().ClearPoints();
    for (const int line : {0, 1, 2, 3, 5, 6, 7, 8}) {
        model.LineSeriesAt(line).ClearPoints();
    }
}

} // namespace quillon
