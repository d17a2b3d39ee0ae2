#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/NumberFormat.h"
#include "chart/Scales.h"

namespace quillon {

class TChartModel;

// A rectangle of pixels, both ends included.
struct TPixelRect {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
    bool Contains(int column, int row) const {
        return left <= column && column <= right && top <= row && row <= bottom;
    }
};

// How the painting device measures the labels' text.
struct TTextMeasure {
    int lineHeight = 0;
    std::function<int(std::string_view)> width;
};

struct TAxisLabel {
    double value = 0.0;
    int row = 0;
    std::string text;
};

// The main chart's price labels.
inline constexpr std::string_view AxisValuesFormat = "#####.####";
// Circle markers reach this far from their point in each direction.
inline constexpr int MarkerRadius = 4;
inline constexpr int TickLength = 4;
// A mark's triangle is MarkSize pixels high and wide, its tip MarkGap pixels off its point.
inline constexpr int MarkSize = 5;
inline constexpr int MarkGap = 2;

// Where everything goes: the free title band at the top, the price labels with their ticks on
// the left, and the plot area, whose left column holds the axis line and whose other pixels take
// the grid and the series.
struct TChartLayout {
    TPixelRect area;
    TPixelRect plot;
    int labelWidth = 0;
    // Absent when no series holds a point or the plot has no room.
    std::optional<TAxisMap> x;
    std::optional<TAxisMap> y;
    std::vector<TAxisLabel> labels;

    bool HasScales() const { return x && y; }
};

// Lays the chart out in `area`, scaled to `zoom` if given, else automatically with room at the
// ends for whatever the layers draw beyond their points: candle bodies, shown markers, marks.
TChartLayout LayoutChart(const TChartModel& model, const std::optional<TChartRanges>& zoom,
                         TPixelRect area, const TTextMeasure& text,
                         const TNumberSeparators& separators);

// Where a price label's text goes, in lines of lineHeight: the label column, centred on its row
// but kept inside the chart, so that the labels at the ends are not cut in half. Lines of text
// laid over the chart keep clear of it.
TPixelRect LabelTextBox(const TChartLayout& layout, const TAxisLabel& label, int lineHeight);

} // namespace quillon
