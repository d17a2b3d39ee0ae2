#include "SampleRun.h"

#include <algorithm>
#include <random>

#include "ChartTestSupport.h"

namespace quillon {

namespace {

// Exponential average over about `bars` values.
struct TAverage {
    double bars;
    double value = 0.0;
    bool started = false;

    double Add(double x) {
        value = started ? value + (x - value) / bars : x;
        started = true;
        return value;
    }
};

} // namespace

void FillSampleRun(TChartModel& model, int bars, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> move(0.0, 0.0009);
    std::exponential_distribution<double> wick(2500.0);
    ClearAllSeries(model);
    double close = 1.2;
    for (int i = 0; i < bars; ++i) {
        const double open = close + move(random) * 0.1;
        close = open + move(random);
        model.Series17().AppendCandle(open, std::max(open, close) + wick(random),
                                      std::min(open, close) - wick(random), close);
    }
    const double openWaveLevel = 0.99 * close;
    TAverage slow{20}, fast{8}, fastOpen{5}, slowOpen{20}, slowerOpen{40};
    for (const TCandle& bar : model.Series17().Candles()) {
        const double slow0 = slow.value, fast0 = fast.value;
        slow.Add(bar.close);
        fast.Add(bar.close);
        const double swing1 = fastOpen.Add(bar.open) - slowOpen.Add(bar.open);
        const double swing2 = slowOpen.value - slowerOpen.Add(bar.open);
        if (bar.x < 3) {
            continue;
        }
        const bool up = slow.value > slow0 && fast.value > fast0;
        const bool down = slow.value < slow0 && fast.value < fast0;
        TLineSeries& wave = model.LineSeries3();
        wave.AppendPoint(bar.x, up ? 1.001 * slow.value : slow.value, "",
                         up ? TPointColor(clLime) : std::nullopt);
        wave.AppendPoint(bar.x, down ? 0.999 * slow.value : slow.value, "",
                         down ? TPointColor(clRed) : std::nullopt);
        model.LineSeries4().AppendPoint(bar.x, fast.value, "", std::nullopt);
        model.Series18().AppendPoint(bar.x, 3 * swing1 + openWaveLevel, "", std::nullopt);
        model.Series19().AppendPoint(bar.x, 3 * swing2 + openWaveLevel, "", std::nullopt);
    }
}

} // namespace quillon
