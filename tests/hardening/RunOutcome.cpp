#include "tests/hardening/RunOutcome.h"

#include <algorithm>

#include "base/Errors.h"

namespace quillon {

namespace {

// List indexes of the chart's series.
constexpr int CloseLineIndex = 0;
constexpr int SpareLineIndex = 1;
constexpr int CandlesIndex = TChartModel::CandleSeriesIndex;
constexpr int FirstUntouchedIndex = 7; // Series20 and Series21 are not a run's

// A point's own colour as one number, -1 for none.
double ColorNumber(const TPointColor& color) {
    if (!color) {
        return -1.0;
    }
    return color->red * 65536.0 + color->green * 256.0 + color->blue;
}

TSeriesContent LineContent(const TLineSeries& series) {
    TSeriesContent content;
    for (const TLinePoint& p : series.Points()) {
        content.push_back({p.x, p.y, ColorNumber(p.color)});
    }
    return content;
}

bool IsCompleteShape(const std::vector<TSeriesContent>& after) {
    const int candles = static_cast<int>(after[CandlesIndex].size());
    const std::size_t waveRows = static_cast<std::size_t>(std::max(candles - 3, 0));
    return after[CloseLineIndex].empty() && after[SpareLineIndex].empty() &&
           after[2].size() == 2 * waveRows && after[3].size() == waveRows &&
           after[5].size() == waveRows && after[6].size() == waveRows;
}

bool SameExcept(const std::vector<TSeriesContent>& before, const std::vector<TSeriesContent>& after,
                int exceptIndex) {
    for (std::size_t s = 0; s < before.size(); ++s) {
        if (static_cast<int>(s) != exceptIndex && before[s] != after[s]) {
            return false;
        }
    }
    return true;
}

// A run that repeats the previous run's data leaves the same points as it found, so the content
// alone cannot tell a complete run from one that stopped before touching the other series; the
// number of changes the chart was told of can: a run that ends silently makes one clear and one
// change per provisional close point.
TRunOutcome Judge(const std::vector<TSeriesContent>& before,
                  const std::vector<TSeriesContent>& after, int changes) {
    for (std::size_t s = FirstUntouchedIndex; s < before.size(); ++s) {
        if (before[s] != after[s]) {
            return {};
        }
    }
    const int closePoints = static_cast<int>(after[CloseLineIndex].size());
    if (changes <= 1 + closePoints && SameExcept(before, after, CloseLineIndex)) {
        return SilentEnd(closePoints);
    }
    if (IsCompleteShape(after)) {
        return Complete(static_cast<int>(after[CandlesIndex].size()));
    }
    return {};
}

} // namespace

TRunOutcome Complete(int candles) {
    return {TRunEnd::Complete, candles, ""};
}

TRunOutcome SilentEnd(int closePoints) {
    return {TRunEnd::SilentEnd, closePoints, ""};
}

TRunOutcome ErrorBox(std::string message) {
    return {TRunEnd::ErrorBox, 0, std::move(message)};
}

std::ostream& operator<<(std::ostream& out, const TRunOutcome& outcome) {
    switch (outcome.end) {
    case TRunEnd::Complete:
        return out << "complete with " << outcome.count << " candles";
    case TRunEnd::SilentEnd:
        return out << "silent end with " << outcome.count << " close points";
    case TRunEnd::ErrorBox:
        return out << "error box \"" << outcome.message << "\"";
    case TRunEnd::Inconsistent:
        break;
    }
    return out << "an inconsistent chart";
}

std::vector<TSeriesContent> ChartContent(const TChartModel& chart) {
    std::vector<TSeriesContent> content;
    for (int s = 0; s < TChartModel::SeriesCount; ++s) {
        if (s != CandlesIndex) {
            content.push_back(LineContent(chart.LineSeriesAt(s)));
            continue;
        }
        TSeriesContent& candles = content.emplace_back();
        for (const TCandle& c : chart.Series17().Candles()) {
            candles.push_back({c.x, c.open, c.high, c.low, c.close});
        }
    }
    return content;
}

TRunOutcome RunAndJudge(const TRunSettings& settings, TBarLines& barLines, TBarTable& bars,
                        TChartModel& chart) {
    const std::vector<TSeriesContent> before = ChartContent(chart);
    int changes = 0;
    chart.SetChangeListener([&changes] { ++changes; });
    try {
        MakeWavesRun(settings, barLines, bars, chart);
    } catch (const IntegerConversionError& error) {
        chart.SetChangeListener(nullptr);
        if (changes != 0) {
            return {};
        }
        return ErrorBox(error.what());
    }
    chart.SetChangeListener(nullptr);
    return Judge(before, ChartContent(chart), changes);
}

} // namespace quillon
