#pragma once

#include "chart/ChartLayout.h"

namespace quillon {

// A left-button drag shorter than this, either way, leaves the zoom alone.
inline constexpr int MinimumZoomPixels = 16;

enum class TDragAction { None, ZoomIn, ZoomReset };

// Down and to the right by at least MinimumZoomPixels both ways zooms in to the dragged
// rectangle; up and to the left by as much returns to automatic scaling.
TDragAction ClassifyDrag(int fromColumn, int fromRow, int toColumn, int toRow);

// The value ranges under a rectangle of the plot. Requires a layout with scales.
TChartRanges RangesUnder(const TChartLayout& layout, const TPixelRect& rect);

} // namespace quillon
