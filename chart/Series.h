#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "chart/Color.h"

namespace quillon {

struct TLinePoint {
    double x = 0.0;
    double y = 0.0;
    TPointColor color;
    std::string label;
};

struct TCandle {
    double x = 0.0;
    double open = 0.0;
    double high = 0.0;
    double low = 0.0;
    double close = 0.0;
    TPointColor color;
};

// A mark at a bar: y is the bar's low for a mark up, its high for a mark down.
struct TMark {
    double x = 0.0;
    double y = 0.0;
    bool up = false;
};

enum class TMarkerStyle { Circle, Diamond };

// How a line is stroked. The main chart's lines are all solid and one pixel wide; the track
// record's chart tells its lines apart by these too.
enum class TLineStyle { Solid, Dash, Dot };

// Called after any change of a series' points, so the chart can schedule a repaint.
using TChangeListener = std::function<void()>;

class TLineSeries {
public:
    TLineSeries(std::string name, TColor color, TMarkerStyle markerStyle, bool markersVisible,
                const TChangeListener* onChange, TLineStyle lineStyle = TLineStyle::Solid,
                int lineWidth = 1);

    const std::string& Name() const { return name_; }
    TColor Color() const { return color_; }
    TMarkerStyle MarkerStyle() const { return markerStyle_; }
    // Hidden markers are neither drawn nor counted in the scaling.
    bool MarkersVisible() const { return markersVisible_; }
    TLineStyle LineStyle() const { return lineStyle_; }
    int LineWidth() const { return lineWidth_; }
    const std::vector<TLinePoint>& Points() const { return points_; }

    void ClearPoints();
    // Adds a point at its place in x order, after any points of equal x, and returns its index.
    int AppendPoint(double x, double y, std::string_view label, TPointColor color);

private:
    std::string name_;
    TColor color_;
    TMarkerStyle markerStyle_;
    bool markersVisible_;
    TLineStyle lineStyle_;
    int lineWidth_;
    std::vector<TLinePoint> points_;
    const TChangeListener* onChange_;
};

class TCandleSeries {
public:
    TCandleSeries(std::string name, TColor color, const TChangeListener* onChange);

    static constexpr int CandleWidth = 4;
    static constexpr TColor UpCloseColor = clWhite;
    static constexpr TColor DownCloseColor = clRed;
    static constexpr TColor BorderColor = clBlack;
    static constexpr std::string_view ValueFormat = "dd.MM.yyyy";

    const std::string& Name() const { return name_; }
    TColor Color() const { return color_; }
    const std::vector<TCandle>& Candles() const { return candles_; }

    void ClearPoints();
    // Adds a candle at x = the number of candles held before the call, kept in x order; returns
    // its index. The prices are not checked against each other.
    int AppendCandle(double open, double high, double low, double close);

private:
    std::string name_;
    TColor color_;
    std::vector<TCandle> candles_;
    const TChangeListener* onChange_;
};

// Marks drawn as small triangles: lime ones pointing up under the bar's low, red ones pointing
// down over its high.
class TMarkSeries {
public:
    TMarkSeries(std::string name, const TChangeListener* onChange);

    static constexpr TColor UpColor = clLime;
    static constexpr TColor DownColor = clRed;

    const std::string& Name() const { return name_; }
    const std::vector<TMark>& Points() const { return points_; }

    void ClearPoints();
    // Adds a mark at its place in x order, after any marks of equal x, and returns its index.
    int AppendMark(double x, double y, bool up);

private:
    std::string name_;
    std::vector<TMark> points_;
    const TChangeListener* onChange_;
};

// One layer of the chart: what it holds decides how it is scaled, laid out and painted.
using TChartLayer = std::variant<TLineSeries, TCandleSeries, TMarkSeries>;

} // namespace quillon
