#include "chart/ChartModel.h"

#include "base/CheckedArray.h"

namespace quillon {

namespace {

struct TLineSettings {
    int index;
    const char* name;
    TColor color;
    TMarkerStyle markerStyle;
    bool markersVisible;
};

// LineSeries1 has no colour of its own and takes the palette's first; the others are set.
constexpr std::array<TLineSettings, 8> LineSettings{{
    {0, "LineSeries1", PaletteColor1, TMarkerStyle::Diamond, false},
    {1, "LineSeries2", clBlue, TMarkerStyle::Circle, true},
    {2, "LineSeries3", clBlue, TMarkerStyle::Diamond, false},
    {3, "LineSeries4", clBlue, TMarkerStyle::Diamond, false},
    {5, "Series18", clWhite, TMarkerStyle::Diamond, false},
    {6, "Series19", clWhite, TMarkerStyle::Diamond, false},
    {7, "Series20", clBlue, TMarkerStyle::Diamond, false},
    {8, "Series21", clWhite, TMarkerStyle::Diamond, false},
}};

} // namespace

TChartModel::TChartModel() {
    for (const TLineSettings& s : LineSettings) {
        lines_[static_cast<std::size_t>(s.index)] = std::make_unique<TLineSeries>(
            s.name, s.color, s.markerStyle, s.markersVisible, &onChange_);
    }
    candles_ = std::make_unique<TCandleSeries>("Series17", PaletteColor2, &onChange_);
}

TLineSeries& TChartModel::LineSeriesAt(int index) {
    const TLineSeries& series = static_cast<const TChartModel&>(*this).LineSeriesAt(index);
    return const_cast<TLineSeries&>(series);
}

const TLineSeries& TChartModel::LineSeriesAt(int index) const {
    const std::unique_ptr<TLineSeries>& series =
        lines_[static_cast<std::size_t>(CheckedIndex(index, SeriesCount))];
    if (!series) {
        ThrowRangeCheckError();
    }
    return *series;
}

void TChartModel::ZoomTo(const TChartRanges& ranges) {
    zoom_ = ranges;
    if (onChange_) {
        onChange_();
    }
}

void TChartModel::ResetZoom() {
    if (zoom_) {
        zoom_.reset();
        if (onChange_) {
            onChange_();
        }
    }
}

} // namespace quillon
