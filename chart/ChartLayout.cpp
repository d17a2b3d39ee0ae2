#include "chart/ChartLayout.h"

#include <algorithm>

#include "chart/ChartModel.h"
#include "chart/LabelSteps.h"

namespace quillon {

namespace {

// Gap between the empty title line and the plot.
constexpr int TitleGap = 4;
// Gap between a label's text and its tick.
constexpr int LabelGap = 2;
// Room beside the end candles' columns for their bodies, with one free column left between a
// body and the axis line.
constexpr int CandleMargin = TCandleSeries::CandleWidth / 2 + 1;
constexpr int MarkerMargin = MarkerRadius + 1;
// Room beside and beyond a mark's point for its triangle, with one pixel to spare.
constexpr int MarkMarginX = MarkSize / 2 + 1;
constexpr int MarkMarginY = MarkGap + MarkSize;
// The smallest plot, in pixels each way, that can carry a scale.
constexpr int MinimumPlotPixels = 8;

// Labels stand at least one and a half lines apart, so neighbouring texts never touch.
int MaxLabelCount(int axisPixels, int lineHeight) {
    const int spacing = std::max(1, lineHeight + lineHeight / 2);
    return std::max(1, axisPixels / spacing);
}

struct TEndMargins {
    int x = 0;
    int y = 0;
};

// How far a layer's drawing reaches past its points, in pixels, each way.
TEndMargins ReachOf(const TLineSeries& series) {
    const bool showsMarkers = series.MarkersVisible() && !series.Points().empty();
    return showsMarkers ? TEndMargins{MarkerMargin, MarkerMargin} : TEndMargins{};
}

TEndMargins ReachOf(const TCandleSeries& series) {
    return series.Candles().empty() ? TEndMargins{} : TEndMargins{CandleMargin, 0};
}

TEndMargins ReachOf(const TMarkSeries& series) {
    return series.Points().empty() ? TEndMargins{} : TEndMargins{MarkMarginX, MarkMarginY};
}

// Room at the ends of the automatic scales, in pixels, for what reaches past its point.
TEndMargins EndMargins(const TChartModel& model) {
    TEndMargins margins;
    for (const TChartLayer& layer : model.Layers()) {
        const TEndMargins reach =
            std::visit([](const auto& series) { return ReachOf(series); }, layer);
        margins = TEndMargins{std::max(margins.x, reach.x), std::max(margins.y, reach.y)};
    }
    return margins;
}

std::vector<TAxisLabel> AxisLabels(const TAxisMap& y, int maxLabels, std::string_view format,
                                   const TNumberSeparators& separators) {
    const TValueRange& range = y.Range();
    const double step = LabelStep(range.Span(), maxLabels);
    std::vector<TAxisLabel> labels;
    for (const double value : LabelValues(range.low, range.high, step)) {
        labels.push_back(
            TAxisLabel{value, y.Pixel(value), FormatNumber(value, format, separators)});
    }
    return labels;
}

int WidestText(const std::vector<TAxisLabel>& labels, const TTextMeasure& text) {
    int widest = 0;
    for (const TAxisLabel& label : labels) {
        widest = std::max(widest, text.width(label.text));
    }
    return widest;
}

} // namespace

TChartLayout LayoutChart(const TChartModel& model, const std::optional<TChartRanges>& zoom,
                         TPixelRect area, const TTextMeasure& text,
                         const TNumberSeparators& separators) {
    TChartLayout layout;
    layout.area = area;
    layout.plot = area;
    layout.plot.top = area.top + text.lineHeight + TitleGap;
    const std::optional<TChartRanges> ranges = zoom ? zoom : AutomaticRanges(model);
    if (!ranges || layout.plot.Height() < MinimumPlotPixels) {
        return layout;
    }
    const TEndMargins margins = zoom ? TEndMargins{} : EndMargins(model);
    const TAxisMap y(InflatedByPixels(ranges->y, layout.plot.Height(), margins.y),
                     layout.plot.bottom, layout.plot.top);
    std::vector<TAxisLabel> labels = AxisLabels(
        y, MaxLabelCount(layout.plot.Height(), text.lineHeight), model.AxisFormat(), separators);
    layout.labelWidth = WidestText(labels, text);
    layout.plot.left = area.left + layout.labelWidth + LabelGap + TickLength;
    // The axis line takes the plot's left column; the series start right of it.
    const int seriesLeft = layout.plot.left + 1;
    const int seriesSpan = layout.plot.right - seriesLeft + 1;
    if (seriesSpan < MinimumPlotPixels) {
        return layout;
    }
    layout.x.emplace(InflatedByPixels(ranges->x, seriesSpan, margins.x), seriesLeft,
                     layout.plot.right);
    layout.y.emplace(y);
    layout.labels = std::move(labels);
    return layout;
}

TPixelRect LabelTextBox(const TChartLayout& layout, const TAxisLabel& label, int lineHeight) {
    const int top = std::clamp(label.row - lineHeight / 2, layout.area.top,
                               layout.area.bottom - lineHeight + 1);
    return TPixelRect{layout.area.left, top, layout.area.left + layout.labelWidth - 1,
                      top + lineHeight - 1};
}

} // namespace quillon
