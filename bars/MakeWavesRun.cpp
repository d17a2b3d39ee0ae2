#include "bars/MakeWavesRun.h"

#include <new>

#include "bars/RunWaves.h"
#include "base/CheckedFloat.h"
#include "base/Errors.h"
#include "base/IntegerText.h"

namespace quillon {

namespace {

// A tick mark stands this far off the wave, as a fraction of the wave's value.
constexpr double TickSize = 0.001;
// The open waves are drawn this many times their size...
constexpr double OpenWaveScale = 3.0;
// ...around a base line this fraction of the newest close below it, just under the newest
// candles.
constexpr double OpenWaveOffset = 0.01;

// The seven series a run refills, in the order it clears them; Series20 and Series21 are not
// the run's.
struct TRunSeries {
    TLineSeries& closeLine;
    TLineSeries& spare;
    TLineSeries& closeWave1;
    TLineSeries& closeWave2;
    TCandleSeries& candles;
    TLineSeries& openWave1;
    TLineSeries& openWave2;

    explicit TRunSeries(TChartModel& chart)
        : closeLine(chart.LineSeries1())
        , spare(chart.LineSeries2())
        , closeWave1(chart.LineSeries3())
        , closeWave2(chart.LineSeries4())
        , candles(chart.Series17())
        , openWave1(chart.Series18())
        , openWave2(chart.Series19()) {}

    void ClearAll() {
        closeLine.ClearPoints();
        spare.ClearPoints();
        closeWave1.ClearPoints();
        closeWave2.ClearPoints();
        candles.ClearPoints();
        openWave1.ClearPoints();
        openWave2.ClearPoints();
    }
};

// The wave points of row i: the first close wave twice (a spike up to lime or down to red where
// both close waves turned the same way, else on the wave), the second close wave, and the open
// waves scaled to lie around a line just under the newest close p.
void FeedWaveRow(const TRunWaves& waves, int i, double p, TRunSeries& series) {
    const TPointColor plain;
    const TTick tick = TickAt(waves, i);
    const double x = i;
    const double w = waves.CloseWave1()[i];
    if (tick == TTick::Up) {
        series.closeWave1.AppendPoint(x, CheckedResult(w + TickSize * w), "", clLime);
    } else {
        series.closeWave1.AppendPoint(x, w, "", plain);
    }
    if (tick == TTick::Down) {
        series.closeWave1.AppendPoint(x, CheckedResult(w - TickSize * w), "", clRed);
    } else {
        series.closeWave1.AppendPoint(x, w, "", plain);
    }
    series.closeWave2.AppendPoint(x, waves.CloseWave2()[i], "", plain);
    series.openWave1.AppendPoint(
        x, CheckedResult(OpenWaveScale * waves.OpenWave1()[i] + p - OpenWaveOffset * p), "", plain);
    series.openWave2.AppendPoint(
        x, CheckedResult(OpenWaveScale * waves.OpenWave2()[i] + p - OpenWaveOffset * p), "", plain);
}

} // namespace

void FeedChart(const TRunCore& run, TChartModel& chart) {
    const TBarTable& bars = run.Bars();
    const int N = run.BarCount();
    chart.ResetZoom();
    TRunSeries series(chart);
    series.ClearAll();
    for (int i = 0; i < N; ++i) {
        if (i >= FirstTickRow) {
            FeedWaveRow(run.Waves(), i, bars.BarClose[N - 1], series);
        }
        series.candles.AppendCandle(bars.BarOpen[i], bars.BarHigh[i], bars.BarLow[i],
                                    bars.BarClose[i]);
    }
}

void MakeWavesRun(const TRunSettings& settings, TBarLines& barLines, TBarTable& bars,
                  TChartModel& chart) {
    // The texts cannot change during a run, so the bar count is converted once, and only its
    // failure reaches the user.
    const int N = TextToInteger(settings.barCountText);
    TRunCore run(barLines, bars);
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
        FeedChart(run, chart);
    } catch (const QuillonError&) {
    } catch (const std::bad_alloc&) {
    }
}

} // namespace quillon
