#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "chart/MakeWavesRun.h"

namespace quillon {

// The points of each layer in the chart's order: {x, y, colour number or -1} for a line point,
// {x, open, high, low, close} for a candle, {x, y, 1 up or -1 down} for a mark; plain numbers that
// compare as a whole.
using TSeriesContent = std::vector<std::vector<double>>;

inline std::vector<TSeriesContent> ChartContent(const TChartModel& chart) {
    std::vector<TSeriesContent> content;
    for (const TChartLayer& layer : chart.Layers()) {
        TSeriesContent& points = content.emplace_back();
        if (const auto* candles = std::get_if<TCandleSeries>(&layer)) {
            for (const TCandle& c : candles->Candles()) {
                points.push_back({c.x, c.open, c.high, c.low, c.close});
            }
        } else if (const auto* marks = std::get_if<TMarkSeries>(&layer)) {
            for (const TMark& m : marks->Points()) {
                points.push_back({m.x, m.y, m.up ? 1.0 : -1.0});
            }
        } else {
            for (const TLinePoint& p : std::get<TLineSeries>(layer).Points()) {
                const TPointColor& c = p.color;
                points.push_back(
                    {p.x, p.y, c ? c->red * 65536.0 + c->green * 256.0 + c->blue : -1});
            }
        }
    }
    return content;
}

// One Make-Waves run as the window makes it, judged by what it said and what it left in the chart:
//   "complete N"       the seven series refilled for N candles, the provisional line empty;
//   "failed: WORDS"    the reason in words, every series as before;
//   "error box: TEXT"  the bar count's conversion error escaped, the chart untouched;
//   "inconsistent"     anything else, which no run may leave.
inline std::string RunAndJudge(const TRunSettings& settings, TRun& run, TChartModel& chart) {
    const std::vector<TSeriesContent> before = ChartContent(chart);
    TRunOutcome outcome;
    try {
        outcome = MakeWavesRun(settings, run, chart);
    } catch (const IntegerConversionError& error) {
        return ChartContent(chart) == before ? "error box: " + error.Message() : "inconsistent";
    }
    const std::vector<TSeriesContent> after = ChartContent(chart);
    if (!outcome.Completed()) {
        return after == before ? "failed: " + outcome.failure : "inconsistent";
    }
    // Two points on the first close wave and one on each other wave line per row from the fourth;
    // Series20, Series21 and the marks (from index 7) are never a run's.
    const std::size_t candles = chart.Series17().Candles().size();
    const std::size_t rows = std::max<std::size_t>(candles, 3) - 3;
    if (std::equal(before.begin() + 7, before.end(), after.begin() + 7) && after[0].empty() &&
        after[1].empty() && after[2].size() == 2 * rows && after[3].size() == rows &&
        after[5].size() == rows && after[6].size() == rows) {
        return "complete " + std::to_string(candles);
    }
    return "inconsistent";
}

} // namespace quillon
