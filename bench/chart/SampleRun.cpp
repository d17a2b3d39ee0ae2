#include "SampleRun.h"

#include <algorithm>
#include <random>

#include "ChartTestSupport.h"

namespace quillon {

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
    // Running averages over about 20 and 8 bars of the closes, 20 and 5 of the opens.
    const double openWaveLevel = 0.99 * close;
    double slow = 1.2, fast = 1.2, slowOpen = 1.2, fastOpen = 1.2;
    for (const TCandle& bar : model.Series17().Candles()) {
        const double slowBefore = slow, fastBefore = fast;
        slow += (bar.close - slow) / 20;
        fast += (bar.close - fast) / 8;
        slowOpen += (bar.open - slowOpen) / 20;
        fastOpen += (bar.open - fastOpen) / 5;
        if (bar.x < 3) {
            continue;
        }
        const bool up = slow > slowBefore && fast > fastBefore;
        const bool down = slow < slowBefore && fast < fastBefore;
        TLineSeries& wave = model.LineSeries3();
        wave.AppendPoint(bar.x, up ? 1.001 * slow : slow, "",
                         up ? TPointColor(clLime) : std::nullopt);
        wave.AppendPoint(bar.x, down ? 0.999 * slow : slow, "",
                         down ? TPointColor(clRed) : std::nullopt);
        model.LineSeries4().AppendPoint(bar.x, fast, "", std::nullopt);
        model.Series18().AppendPoint(bar.x, openWaveLevel + 3 * (fastOpen - slowOpen), "", {});
        model.Series19().AppendPoint(bar.x, openWaveLevel + 3 * (fast - slow), "", {});
    }
}

} // namespace quillon
