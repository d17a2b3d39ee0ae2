#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "SampleRun.h"
#include "chart/Candles.h"
#include "chart/MakeWavesRun.h"
#include "chart/TChart.h"
#include "tests/bars/BarTestFiles.h"

namespace quillon {
namespace {

// The largest run: 1,000 bars give 1,000 candles and 5 x 997 wave points.
constexpr int RunBars = 1000;
const QSize ImageSize(1600, 1000);

void BM_PaintLargestRun(benchmark::State& state) {
    TChart chart;
    FillSampleRun(chart.Model(), RunBars, 11);
    QImage image(ImageSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        chart.Render(painter, image.rect());
    }
    state.counters["candles"] = static_cast<double>(chart.Model().Series17().Candles().size());
}
BENCHMARK(BM_PaintLargestRun)->Unit(benchmark::kMillisecond);

// A mouse move over the candle whose tip already shows: a hit test and nothing else.
void BM_MouseMoveWithinOneCandle(benchmark::State& state) {
    TChart chart;
    chart.resize(ImageSize);
    FillSampleRun(chart.Model(), RunBars, 11);
    const TChartLayout layout = chart.Layout(chart.rect());
    const TCandle& candle = chart.Model().Series17().Candles()[RunBars / 2];
    const TCandleGeometry g = CandleGeometryOf(candle, *layout.x, *layout.y);
    const QPointF at(g.column, g.BodyTop());
    QMouseEvent move(QEvent::MouseMove, at, chart.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&chart, &move);
    const QString tip = chart.HintText();
    for (auto _ : state) {
        QCoreApplication::sendEvent(&chart, &move);
    }
    if (chart.HintText() != tip || tip.isEmpty()) {
        state.SkipWithError("the tip changed");
    }
}
BENCHMARK(BM_MouseMoveWithinOneCandle)->Unit(benchmark::kMicrosecond);

// The window's whole run at its defaults on the terminal's default file of 1,900 bars: read, load
// 500 bars, four waves, refill the chart's series (painting comes after, when the window repaints).
void BM_MakeWavesRun(benchmark::State& state) {
    TTempDir dir;
    TRunSettings settings;
    settings.sourceFilePath = dir.Write("EURUSD60.csv", BarFileText(TBarFileSettings{}));
    TRun run;
    TChartModel chart;
    for (auto _ : state) {
        MakeWavesRun(settings, run, chart);
    }
    if (chart.Series17().Candles().size() != 500) {
        state.SkipWithError("the run did not complete");
    }
}
// The engine works the four waves out side by side, so wall time is what the user waits.
BENCHMARK(BM_MakeWavesRun)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace quillon

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
