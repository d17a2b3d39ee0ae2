#pragma once

#include "chart/ChartModel.h"

namespace quillon {

// Empties every layer, leaving the model as a run finds it before refilling.
inline void ClearAllSeries(TChartModel& model) {
    for (TChartLayer& layer : model.Layers()) {
        std::visit([](auto& series) { series.ClearPoints(); }, layer);
    }
}

} // namespace quillon
