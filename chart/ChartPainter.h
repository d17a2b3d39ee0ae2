#pragma once

#include <QColor>

#include "chart/ChartLayout.h"

class QPainter;

namespace quillon {

class TChartModel;

// Paints the chart as laid out: the background, then the grid, ticks and price labels, then the
// layers in list order, clipped to the plot. Antialiasing must be off so lines keep to whole
// pixels.
void PaintChart(QPainter& painter, const TChartModel& model, const TChartLayout& layout,
                const QColor& background);

} // namespace quillon
