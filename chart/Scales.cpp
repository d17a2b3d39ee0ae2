#include "chart/Scales.h"

#include <algorithm>
#include <cmath>

#include "base/CheckedFloat.h"
#include "chart/ChartModel.h"

namespace quillon {

namespace {

// Share of a flat range's value by which it is widened at each end.
constexpr double FlatRangeWidening = 0.01;

class TRangeCollector {
public:
    void Add(double value) {
        if (!range_) {
            range_ = TValueRange{value, value};
            return;
        }
        range_->low = std::min(range_->low, value);
        range_->high = std::max(range_->high, value);
    }
    const std::optional<TValueRange>& Range() const { return range_; }

private:
    std::optional<TValueRange> range_;
};

template <typename Series>
void AddPoints(const Series& series, TRangeCollector& x, TRangeCollector& y) {
    for (const auto& point : series.Points()) {
        x.Add(point.x);
        y.Add(point.y);
    }
}

void AddPoints(const TCandleSeries& series, TRangeCollector& x, TRangeCollector& y) {
    for (const TCandle& candle : series.Candles()) {
        x.Add(candle.x);
        for (const double price : {candle.open, candle.high, candle.low, candle.close}) {
            y.Add(price);
        }
    }
}

} // namespace

double TValueRange::Span() const {
    return CheckedResult(high - low);
}

std::optional<TChartRanges> AutomaticRanges(const TChartModel& model) {
    TRangeCollector x;
    TRangeCollector y;
    for (const TChartLayer& layer : model.Layers()) {
        std::visit([&](const auto& series) { AddPoints(series, x, y); }, layer);
    }
    if (!x.Range()) {
        return std::nullopt;
    }
    return TChartRanges{WidenedIfFlat(*x.Range()), WidenedIfFlat(*y.Range())};
}

TValueRange WidenedIfFlat(TValueRange range) {
    if (range.low != range.high) {
        return range;
    }
    const double value = range.low;
    const double widening = value == 0.0 ? 1.0 : std::abs(value) * FlatRangeWidening;
    return TValueRange{CheckedResult(value - widening), CheckedResult(value + widening)};
}

TValueRange InflatedByPixels(TValueRange range, int spanPixels, int marginPixels) {
    const int inner = spanPixels - 2 * marginPixels;
    if (marginPixels <= 0 || inner <= 0) {
        return range;
    }
    const double widening = CheckedQuotient(range.Span() * marginPixels, inner);
    return TValueRange{CheckedResult(range.low - widening), CheckedResult(range.high + widening)};
}

TAxisMap::TAxisMap(TValueRange range, int lowPixel, int highPixel)
    : range_(range)
    , lowPixel_(lowPixel)
    , pixelsPerValue_(CheckedQuotient(static_cast<double>(highPixel) - lowPixel, range.Span())) {}

int TAxisMap::Pixel(double value) const {
    const double pixel = CheckedResult(lowPixel_ + (value - range_.low) * pixelsPerValue_);
    return static_cast<int>(std::round(std::clamp(pixel, -1.0 * PixelLimit, 1.0 * PixelLimit)));
}

double TAxisMap::ValueAt(int pixel) const {
    return CheckedResult(range_.low +
                         CheckedQuotient(static_cast<double>(pixel) - lowPixel_, pixelsPerValue_));
}

} // namespace quillon
