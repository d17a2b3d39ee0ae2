#pragma once

#include <optional>

namespace quillon {

class TChartModel;

// A closed range of values, low <= high.
struct TValueRange {
    double low = 0.0;
    double high = 0.0;

    double Span() const;
    bool Contains(double value) const { return low <= value && value <= high; }
    bool operator==(const TValueRange&) const = default;
};

struct TChartRanges {
    TValueRange x;
    TValueRange y;

    bool operator==(const TChartRanges&) const = default;
};

// The automatic scales: x over the points of every layer that holds points, y over the points'
// values and all four prices of each candle. Layers without points take no part; none at all
// gives no ranges. A flat range is widened around its value so that it can be divided.
std::optional<TChartRanges> AutomaticRanges(const TChartModel& model);

// A range widened around its value when low = high: by 1 % of the value, or by 1 for zero.
TValueRange WidenedIfFlat(TValueRange range);

// The range widened at both ends so that, spread over `spanPixels` pixels, its old ends lie
// `marginPixels` inside. Unchanged when the span leaves no room for the margins.
TValueRange InflatedByPixels(TValueRange range, int spanPixels, int marginPixels);

// Linear mapping from a value range onto pixel positions: range.low lands on `lowPixel`,
// range.high on `highPixel` (which lies above, numerically below, for a vertical axis).
class TAxisMap {
public:
    // Requires a range that is not flat.
    TAxisMap(TValueRange range, int lowPixel, int highPixel);

    const TValueRange& Range() const { return range_; }
    // The nearest pixel, kept within PixelLimit of the origin so that every pixel fits an int
    // and sums and differences of a few pixels cannot overflow.
    int Pixel(double value) const;
    double ValueAt(int pixel) const;

    static constexpr int PixelLimit = 1 << 24;

private:
    TValueRange range_;
    int lowPixel_;
    double pixelsPerValue_;
};

} // namespace quillon
