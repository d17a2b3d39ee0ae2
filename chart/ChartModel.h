#pragma once

#include <array>
#include <memory>

#include "chart/Scales.h"
#include "chart/Series.h"

namespace quillon {

// The chart's nine series in their fixed list order, which is also the painting order:
// LineSeries1..LineSeries4, the candles Series17, then Series18..Series21.
class TChartModel {
public:
    static constexpr int SeriesCount = 9;
    static constexpr int CandleSeriesIndex = 4;

    // The series start empty: until a run completes there is nothing of the user's to show.
    TChartModel();
    TChartModel(const TChartModel&) = delete;
    TChartModel& operator=(const TChartModel&) = delete;

    static bool IsCandleSeries(int index) { return index == CandleSeriesIndex; }
    // The line series at a list index; the range error for the candle index or outside 0..8.
    TLineSeries& LineSeriesAt(int index);
    const TLineSeries& LineSeriesAt(int index) const;

    TLineSeries& LineSeries1() { return LineSeriesAt(0); }
    TLineSeries& LineSeries2() { return LineSeriesAt(1); }
    TLineSeries& LineSeries3() { return LineSeriesAt(2); }
    TLineSeries& LineSeries4() { return LineSeriesAt(3); }
    TCandleSeries& Series17() { return *candles_; }
    const TCandleSeries& Series17() const { return *candles_; }
    TLineSeries& Series18() { return LineSeriesAt(5); }
    TLineSeries& Series19() { return LineSeriesAt(6); }
    TLineSeries& Series20() { return LineSeriesAt(7); }
    TLineSeries& Series21() { return LineSeriesAt(8); }

    // The ranges the user zoomed in to, or nothing while the scales are automatic.
    const std::optional<TChartRanges>& Zoom() const { return zoom_; }
    void ZoomTo(const TChartRanges& ranges);
    // Back to automatic scales. A run does this before it refills the series, so that each run
    // starts on automatic scales.
    void ResetZoom();

    // Called after every change of any series' points and of the zoom.
    void SetChangeListener(TChangeListener listener) { onChange_ = std::move(listener); }

private:
    // Declared first: the series keep a pointer to it.
    TChangeListener onChange_;
    // By list index; the slot of the candle series stays empty.
    std::array<std::unique_ptr<TLineSeries>, SeriesCount> lines_;
    std::unique_ptr<TCandleSeries> candles_;
    std::optional<TChartRanges> zoom_;
};

} // namespace quillon
