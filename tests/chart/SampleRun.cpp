#include "SampleRun.h"

#include <algorithm>
#include <random>
#include <vector>

#include "chart/ChartModel.h"

namespace quillon {

namespace {

struct TBars {
    std::vector<double> open, high, low, close;
};

TBars RandomWalk(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> move(0.0, 0.0009);
    std::exponential_distribution<double> wick(2500.0);
    TBars bars;
    double close = 1.2;
    for (int i = 0; i < count; ++i) {
        const double open = close + move(random) * 0.1;
        close = open + move(random);
        bars.open.push_back(open);
        bars.close.push_back(close);
        bars.high.push_back(std::max(open, close) + wick(random));
        bars.low.push_back(std::min(open, close) - wick(random));
    }
    return bars;
}

// Centred average over up to `window` values, narrower near the ends.
std::vector<double> MovingAverage(const std::vector<double>& values, int window) {
    const int count = static_cast<int>(values.size());
    std::vector<double> average;
    for (int i = 0; i < count; ++i) {
        const int from = std::max(0, i - window / 2);
        const int to = std::min(count - 1, i + window / 2);
        double sum = 0.0;
        for (int k = from; k <= to; ++k) {
            sum += values[static_cast<std::size_t>(k)];
        }
        average.push_back(sum / (to - from + 1));
    }
    return average;
}

std::vector<double> Swings(const std::vector<double>& values, int window) {
    std::vector<double> swings = MovingAverage(values, window / 4);
    const std::vector<double> trend = MovingAverage(values, window);
    for (std::size_t i = 0; i < swings.size(); ++i) {
        swings[i] -= trend[i];
    }
    return swings;
}

} // namespace

void FillSampleRun(TChartModel& model, int bars, unsigned seed) {
    const TBars walk = RandomWalk(bars, seed);
    const std::vector<double> close1 = MovingAverage(walk.close, 39);
    const std::vector<double> close2 = MovingAverage(walk.close, 16);
    const std::vector<double> open1 = Swings(walk.open, 39);
    const std::vector<double> open2 = Swings(walk.open, 16);
    const double newest = walk.close.back();
    for (int s = 0; s < 4; ++s) {
        model.LineSeriesAt(s).ClearPoints();
    }
    for (TLineSeries* series : {&model.Series18(), &model.Series19()}) {
        series->ClearPoints();
    }
    model.Series17().ClearPoints();
    for (std::size_t i = 0; i < walk.close.size(); ++i) {
        const double x = static_cast<double>(i);
        if (i >= 3) {
            const bool up = close1[i] > close1[i - 1] && close2[i] > close2[i - 1];
            const bool down = close1[i] < close1[i - 1] && close2[i] < close2[i - 1];
            const double w = close1[i];
            model.LineSeries3().AppendPoint(x, up ? w + 0.001 * w : w, "",
                                            up ? TPointColor(clLime) : std::nullopt);
            model.LineSeries3().AppendPoint(x, down ? w - 0.001 * w : w, "",
                                            down ? TPointColor(clRed) : std::nullopt);
            model.LineSeries4().AppendPoint(x, close2[i], "", std::nullopt);
            model.Series18().AppendPoint(x, 3 * open1[i] + newest - 0.01 * newest, "",
                                         std::nullopt);
            model.Series19().AppendPoint(x, 3 * open2[i] + newest - 0.01 * newest, "",
                                         std::nullopt);
        }
        model.Series17().AppendCandle(walk.open[i], walk.high[i], walk.low[i], walk.close[i]);
    }
}

} // namespace quillon
