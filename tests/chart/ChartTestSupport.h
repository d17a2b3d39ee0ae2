#pragma once

#include "chart/ChartModel.h"

namespace quillon {

// Empties all nine series, leaving the model as a run finds it before refilling.
inline void ClearAllSeries(TChartModel& model) {
    model.Series17().ClearPoints();
    for (int i = 0; i < TChartModel::SeriesCount; ++i) {
        if (!TChartModel::IsCandleSeries(i)) {
            model.LineSeriesAt(i).ClearPoints();
        }
    }
}

} // namespace quillon
