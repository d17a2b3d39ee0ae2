#include "chart/ChartModel.h"

namespace quillon {

TChartModel::TChartModel()
    : axisFormat_(AxisValuesFormat) {
    const auto line = [this](const char* name, TColor color, TMarkerStyle style, bool markers) {
        layers_.emplace_back(std::in_place_type<TLineSeries>, name, color, style, markers,
                             &onChange_);
    };
    // LineSeries1 has no colour of its own and takes the palette's first; the others are set.
    line("LineSeries1", PaletteColor1, TMarkerStyle::Diamond, false);
    line("LineSeries2", clBlue, TMarkerStyle::Circle, true);
    line("LineSeries3", clBlue, TMarkerStyle::Diamond, false);
    line("LineSeries4", clBlue, TMarkerStyle::Diamond, false);
    layers_.emplace_back(std::in_place_type<TCandleSeries>, "Series17", PaletteColor2, &onChange_);
    line("Series18", clWhite, TMarkerStyle::Diamond, false);
    line("Series19", clWhite, TMarkerStyle::Diamond, false);
    line("Series20", clBlue, TMarkerStyle::Diamond, false);
    line("Series21", clWhite, TMarkerStyle::Diamond, false);
    layers_.emplace_back(std::in_place_type<TMarkSeries>, "Marks", &onChange_);
}

TChartModel::TChartModel(std::span<const TLineLook> lines, std::string axisFormat)
    : showsLegend_(true)
    , axisFormat_(std::move(axisFormat)) {
    for (const TLineLook& look : lines) {
        layers_.emplace_back(std::in_place_type<TLineSeries>, look.name, look.color,
                             TMarkerStyle::Diamond, false, &onChange_, look.style, look.width);
    }
}

const TCandleSeries* TChartModel::Candles() const {
    for (const TChartLayer& layer : layers_) {
        if (const auto* candles = std::get_if<TCandleSeries>(&layer)) {
            return candles;
        }
    }
    return nullptr;
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
