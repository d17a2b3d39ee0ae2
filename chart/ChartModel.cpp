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

constexpr int StartLinePointCount = 25;

// Sample lines shown until the first complete run: whole numbers between 258 and 664.
constexpr std::array<std::array<int, StartLinePointCount>, 4> StartLines{{
    {258, 319, 263, 259, 258, 263, 301, 262, 258, 281, 258, 259, 288,
     258, 277, 259, 258, 258, 268, 276, 258, 258, 258, 283, 292},
    {379, 373, 328, 290, 317, 287, 270, 305, 340, 369, 331, 359, 388,
     393, 354, 337, 297, 323, 295, 287, 295, 268, 292, 262, 290},
    {419, 414, 387, 381, 407, 449, 427, 395, 424, 452, 488, 467, 469,
     436, 461, 424, 451, 413, 447, 428, 446, 488, 511, 520, 515},
    {470, 422, 384, 398, 427, 440, 441, 434, 420, 398, 442, 428, 393,
     421, 414, 436, 454, 664, 464, 455, 487, 451, 421, 441, 449},
}};

struct TStartCandle {
    double open, high, low, close;
};

// Sample candles, prices between 381.32 and 461.76, spread over the same x range as the lines.
constexpr std::array<TStartCandle, 40> StartCandles{{
    {444, 453.88, 441, 450.88},       {452.88, 461.76, 449.88, 458.76},
    {459.76, 459.76, 459.64, 459.64}, {458.91, 460.87, 456.8, 457.59},
    {457.58, 459.28, 451.87, 453.88}, {453.07, 455.19, 445.64, 446.84},
    {447.36, 448.58, 439.11, 440.97}, {440.43, 442.7, 439.43, 439.7},
    {438.75, 441.11, 434.52, 435.6},  {435.03, 435.3, 430.45, 431.16},
    {431.04, 431.78, 426.88, 427.61}, {427.05, 427.92, 423.16, 423.41},
    {424.09, 425.77, 420.4, 421.03},  {422.02, 422.5, 419.81, 420.78},
    {421.22, 423.57, 417.92, 419.09}, {419.75, 420.65, 415.82, 417.37},
    {418.13, 419.49, 415.26, 416.81}, {415.88, 417.91, 409.79, 410.94},
    {410.29, 412.11, 405.43, 407.18}, {406.93, 408.3, 401.17, 403.16},
    {403.2, 404.53, 398.89, 399.16},  {398.25, 400.71, 394.51, 396.07},
    {395.86, 397.22, 388.02, 390.48}, {391.02, 393.2, 387.13, 387.86},
    {387.89, 389.42, 385.94, 387.2},  {386.74, 389.14, 383.42, 383.63},
    {384.2, 390.86, 381.32, 388.62},  {389.24, 393.34, 388.06, 391.85},
    {390.96, 397.19, 390.3, 395.68},  {395.69, 399.12, 394.69, 398.1},
    {398.18, 403.03, 396.93, 401.42}, {400.48, 401.97, 398.94, 401.36},
    {402.08, 408.4, 400.0, 406.37},   {405.88, 412.18, 405.49, 410.43},
    {409.46, 411.4, 408.28, 409.05},  {408.27, 412.51, 407.91, 411.52},
    {410.84, 414.09, 410.01, 413.5},  {413.92, 417.09, 412.63, 416.15},
    {415.2, 418.19, 414.57, 417.02},  {416.24, 422.51, 415.56, 421.14},
}};

} // namespace

TChartModel::TChartModel() {
    for (const TLineSettings& s : LineSettings) {
        lines_[static_cast<std::size_t>(s.index)] = std::make_unique<TLineSeries>(
            s.name, s.color, s.markerStyle, s.markersVisible, &onChange_);
    }
    candles_ = std::make_unique<TCandleSeries>("Series17", PaletteColor2, &onChange_);
    FillStartContent();
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

void TChartModel::FillStartContent() {
    for (int s = 0; s < static_cast<int>(StartLines.size()); ++s) {
        for (int x = 0; x < StartLinePointCount; ++x) {
            LineSeriesAt(s).AppendPoint(
                x, StartLines[static_cast<std::size_t>(s)][static_cast<std::size_t>(x)], "",
                std::nullopt);
        }
    }
    const double lastX = StartLinePointCount - 1;
    const double lastCandle = static_cast<double>(StartCandles.size() - 1);
    for (std::size_t k = 0; k < StartCandles.size(); ++k) {
        const TStartCandle& c = StartCandles[k];
        candles_->AppendCandleAt(static_cast<double>(k) * lastX / lastCandle, c.open, c.high, c.low,
                                 c.close);
    }
}

} // namespace quillon
