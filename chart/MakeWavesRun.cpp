#include "chart/MakeWavesRun.h"

#include <new>

#include "base/Errors.h"

namespace quillon {

bool MakeWavesRun(const TRunSettings& settings, TRun& run, TChartModel& chart, TZoomOnRefill zoom) {
    // The texts cannot change during a run, so the bar count is converted once, and only its
    // failure reaches the user.
    const int N = TextToInteger(settings.barCountText);
    run.ReadFile(settings.sourceFilePath, settings.read);
    // From here on a failure only ends the run: the chart keeps what it holds at that moment.
    // What can fail is the program's own errors (a bad line, a bad setting, a fault of the
    // computation) and a point that cannot be stored (std::bad_alloc); anything else would be a
    // fault of the program and is left to reach the user.
    try {
        TLineSeries& closeLine = chart.LineSeries1();
        closeLine.ClearPoints();
        run.LoadBars(N, [&closeLine](std::int64_t fileLine, double close) {
            closeLine.AppendPoint(static_cast<double>(fileLine), close, "", TPointColor());
        });
        const int W1 = TextToInteger(settings.lag1Text);
        const int W2 = TextToInteger(settings.lag2Text);
        run.WorkOutWaves(W1, W2);
        FeedChart(run, chart, zoom);
        return true;
    } catch (const QuillonError&) {
    } catch (const std::bad_alloc&) {
    }
    return false;
}

} // namespace quillon
