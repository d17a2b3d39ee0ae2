#include "chart/Series.h"

#include <algorithm>

namespace quillon {

namespace {

// Index at which a point of this x lands: after every point whose x does not exceed it. The
// common case, an x at or past the end, costs no search.
template <typename Point>
std::size_t SortedPlace(const std::vector<Point>& points, double x) {
    if (points.empty() || !(x < points.back().x)) {
        return points.size();
    }
    const auto place = std::upper_bound(points.begin(), points.end(), x,
                                        [](double value, const Point& p) { return value < p.x; });
    return static_cast<std::size_t>(place - points.begin());
}

void Notify(const TChangeListener* onChange) {
    if (onChange != nullptr && *onChange) {
        (*onChange)();
    }
}

} // namespace

TLineSeries::TLineSeries(std::string name, TColor color, TMarkerStyle markerStyle,
                         bool markersVisible, const TChangeListener* onChange, TLineStyle lineStyle,
                         int lineWidth)
    : name_(std::move(name))
    , color_(color)
    , markerStyle_(markerStyle)
    , markersVisible_(markersVisible)
    , lineStyle_(lineStyle)
    , lineWidth_(lineWidth)
    , onChange_(onChange) {}

void TLineSeries::ClearPoints() {
    points_.clear();
    Notify(onChange_);
}

int TLineSeries::AppendPoint(double x, double y, std::string_view label, TPointColor color) {
    const std::size_t place = SortedPlace(points_, x);
    points_.insert(points_.begin() + static_cast<std::ptrdiff_t>(place),
                   TLinePoint{x, y, color, std::string(label)});
    Notify(onChange_);
    return static_cast<int>(place);
}

TCandleSeries::TCandleSeries(std::string name, TColor color, const TChangeListener* onChange)
    : name_(std::move(name))
    , color_(color)
    , onChange_(onChange) {}

void TCandleSeries::ClearPoints() {
    candles_.clear();
    Notify(onChange_);
}

int TCandleSeries::AppendCandle(double open, double high, double low, double close) {
    // Every candle stands at its index, so a new one comes last in x order.
    const double x = static_cast<double>(candles_.size());
    candles_.push_back(TCandle{x, open, high, low, close, std::nullopt});
    Notify(onChange_);
    return static_cast<int>(candles_.size() - 1);
}

TMarkSeries::TMarkSeries(std::string name, const TChangeListener* onChange)
    : name_(std::move(name))
    , onChange_(onChange) {}

void TMarkSeries::ClearPoints() {
    points_.clear();
    Notify(onChange_);
}

int TMarkSeries::AppendMark(double x, double y, bool up) {
    const std::size_t place = SortedPlace(points_, x);
    points_.insert(points_.begin() + static_cast<std::ptrdiff_t>(place), TMark{x, y, up});
    Notify(onChange_);
    return static_cast<int>(place);
}

} // namespace quillon
