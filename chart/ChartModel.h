#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chart/ChartLayout.h"
#include "chart/Scales.h"
#include "chart/Series.h"

namespace quillon {

// A line layer of a chart of lines only, as it is drawn: a legend in the title band names each
// line that has a name, beside a stroke of its look.
struct TLineLook {
    std::string name;
    TColor color;
    TLineStyle style = TLineStyle::Solid;
    int width = 1;
};

// The chart's layers in list order, which is also the painting order: LineSeries1..LineSeries4,
// the candles Series17, Series18..Series21, then the marks. A chart of lines only (the track
// record's) has its own layers instead, and none of these.
class TChartModel {
public:
    static constexpr int SeriesCount = 10;

    // The layers start empty: until a run completes there is nothing of the user's to show.
    TChartModel();
    // A chart of line layers only, one for each look in that order, with their legend; its value
    // labels in the FormatNumber pattern axisFormat.
    TChartModel(std::span<const TLineLook> lines, std::string axisFormat);
    TChartModel(const TChartModel&) = delete;
    TChartModel& operator=(const TChartModel&) = delete;

    // The list keeps its length, so a layer stays where it is for the model's life.
    std::span<TChartLayer> Layers() { return layers_; }
    std::span<const TChartLayer> Layers() const { return layers_; }

    TLineSeries& LineSeries1() { return Layer<TLineSeries>(0); }
    TLineSeries& LineSeries2() { return Layer<TLineSeries>(1); }
    TLineSeries& LineSeries3() { return Layer<TLineSeries>(2); }
    TLineSeries& LineSeries4() { return Layer<TLineSeries>(3); }
    TCandleSeries& Series17() { return Layer<TCandleSeries>(4); }
    const TCandleSeries& Series17() const { return std::get<TCandleSeries>(layers_.at(4)); }
    TLineSeries& Series18() { return Layer<TLineSeries>(5); }
    TLineSeries& Series19() { return Layer<TLineSeries>(6); }
    TLineSeries& Series20() { return Layer<TLineSeries>(7); }
    TLineSeries& Series21() { return Layer<TLineSeries>(8); }
    TMarkSeries& Marks() { return Layer<TMarkSeries>(9); }

    // Line layer `index` of a chart of lines only (the main chart's layers by their names).
    TLineSeries& Line(std::size_t index) { return Layer<TLineSeries>(index); }
    const TLineSeries& Line(std::size_t index) const {
        return std::get<TLineSeries>(layers_.at(index));
    }
    // The candles that the pointer's tip reads, or none on a chart of lines only.
    const TCandleSeries* Candles() const;
    // A chart of lines only names its lines in a legend.
    bool ShowsLegend() const { return showsLegend_; }
    // The pattern of the labels on the value axis.
    std::string_view AxisFormat() const { return axisFormat_; }

    // The ranges the user zoomed in to, or nothing while the scales are automatic.
    const std::optional<TChartRanges>& Zoom() const { return zoom_; }
    void ZoomTo(const TChartRanges& ranges);
    // Back to automatic scales. A run does this before it refills the series, so that each run
    // starts on automatic scales.
    void ResetZoom();

    // Called after every change of any layer's points and of the zoom.
    void SetChangeListener(TChangeListener listener) { onChange_ = std::move(listener); }

private:
    template <typename Series>
    Series& Layer(std::size_t index) {
        return std::get<Series>(layers_.at(index));
    }

    // Declared first: the layers keep a pointer to it.
    TChangeListener onChange_;
    std::vector<TChartLayer> layers_;
    std::optional<TChartRanges> zoom_;
    bool showsLegend_ = false;
    std::string axisFormat_;
};

} // namespace quillon
