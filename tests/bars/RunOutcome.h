#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "bars/MakeWavesRun.h"
#include "base/Errors.h"

namespace quillon {

// The points of each series in the chart's order: {x, y, colour number or -1} for a line point,
// {x, open, high, low, close} for a candle; plain numbers that compare as a whole.
using TSeriesContent = std::vector<std::vector<double>>;

inline std::vector<TSeriesContent> ChartContent(const TChartModel& chart) {
    std::vector<TSeriesContent> content(TChartModel::SeriesCount);
    for (const TCandle& c : chart.Series17().Candles()) {
        content[TChartModel::CandleSeriesIndex].push_back({c.x, c.open, c.high, c.low, c.close});
    }
    for (int s = 0; s < TChartModel::SeriesCount; ++s) {
        if (TChartModel::IsCandleSeries(s)) {
            continue;
        }
        for (const TLinePoint& p : chart.LineSeriesAt(s).Points()) {
            const TPointColor& c = p.color;
            const double color = c ? c->red * 65536.0 + c->green * 256.0 + c->blue : -1.0;
            content[static_cast<std::size_t>(s)].push_back({p.x, p.y, color});
        }
    }
    return content;
}

// One Make-Waves run as the window makes it, judged by what it left in the chart:
//   "complete N"       the seven series refilled for N candles, the provisional line empty;
//   "silent N"         no message: N provisional close points, every other series as before;
//   "error box: TEXT"  the bar count's conversion error escaped, the chart untouched;
//   "inconsistent"     anything else, which no run may leave.
inline std::string RunAndJudge(const TRunSettings& settings, TBarLines& barLines, TBarTable& bars,
                               TChartModel& chart) {
    constexpr std::size_t CloseLine = 0;
    constexpr std::size_t Candles = TChartModel::CandleSeriesIndex;
    const std::vector<TSeriesContent> before = ChartContent(chart);
    int changes = 0;
    chart.SetChangeListener([&changes] { ++changes; });
    std::string escaped;
    try {
        MakeWavesRun(settings, barLines, bars, chart);
    } catch (const IntegerConversionError& error) {
        escaped = error.what();
    }
    chart.SetChangeListener(nullptr);
    if (!escaped.empty()) {
        return changes == 0 ? "error box: " + escaped : "inconsistent";
    }
    // A run that repeats the previous run's data leaves the points it found, so the content alone
    // cannot tell a complete run from one that stopped before touching the other series; the
    // number of changes the chart was told of can: a silent end makes one clear and one change per
    // provisional close point. Series20 and Series21 are never a run's.
    const std::vector<TSeriesContent> after = ChartContent(chart);
    const std::size_t closePoints = after[CloseLine].size();
    if (std::equal(before.begin() + 1, before.end(), after.begin() + 1) &&
        changes <= 1 + static_cast<int>(closePoints)) {
        return "silent " + std::to_string(closePoints);
    }
    // Two points on the first close wave and one on each other wave line per row from the fourth.
    const std::size_t rows = std::max<std::size_t>(after[Candles].size(), 3) - 3;
    if (std::equal(before.begin() + 7, before.end(), after.begin() + 7) &&
        after[CloseLine].empty() && after[1].empty() && after[2].size() == 2 * rows &&
        after[3].size() == rows && after[5].size() == rows && after[6].size() == rows) {
        return "complete " + std::to_string(after[Candles].size());
    }
    return "inconsistent";
}

} // namespace quillon
