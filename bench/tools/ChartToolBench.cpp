#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <string>

#include "bars/Run.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"
#include "tools/ChartPicture.h"

// quillon-chart as a scheduled job runs it, and the parts of its time: the process with no run
// and no toolkit (--help), the run, and the picture (feed, paint, encode). What is left of the
// whole process is the toolkit's start.

namespace quillon {
namespace {

const std::vector<std::string> NoDisplay{"-u", "DISPLAY",        "-u", "WAYLAND_DISPLAY",
                                         "-u", "QT_QPA_PLATFORM"};

// The file the terminal's script writes with its default settings: 1,900 bars.
struct TBarFile {
    TTempDir dir;
    std::string path = dir.Write("EURUSD60.csv", BarFileText(TBarFileSettings{}));
};

void RunProgram(benchmark::State& state, const std::vector<std::string>& args) {
    int status = 0;
    for (auto _ : state) {
        status = RunProcess(QUILLON_CHART_PROGRAM, args, NoDisplay).exitCode;
    }
    if (status != 0) {
        state.SkipWithError("quillon-chart failed");
    }
}

// The whole process at the defaults: 500 bars, 800x600 PNG.
void BM_QuillonChartProcess(benchmark::State& state) {
    const TBarFile file;
    RunProgram(state, {file.path, "-o", file.dir.Path("chart.png")});
}
BENCHMARK(BM_QuillonChartProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(10);

// Start and exit with Qt's libraries loaded but no toolkit started.
void BM_QuillonChartHelpProcess(benchmark::State& state) {
    RunProgram(state, {"--help"});
}
BENCHMARK(BM_QuillonChartHelpProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

struct TFileRun {
    TBarFile file;
    quillon::TRun run;

    void WorkOut() { WorkOutRun(file.path, TRunNumbers{}, TReadSettings{}, run); }
};

void BM_Run(benchmark::State& state) {
    TFileRun run;
    for (auto _ : state) {
        run.WorkOut();
    }
}
BENCHMARK(BM_Run)->Unit(benchmark::kMillisecond);

void BM_Picture(benchmark::State& state) {
    TFileRun run;
    run.WorkOut();
    const auto format = static_cast<TPictureFormat>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ChartPicture(run.run, QSize(800, 600), format));
    }
}
BENCHMARK(BM_Picture)
    ->ArgName("svg")
    ->Arg(static_cast<int>(TPictureFormat::Png))
    ->Arg(static_cast<int>(TPictureFormat::Svg))
    ->Unit(benchmark::kMillisecond);

// The PNG encoding alone, of the default picture: with the palette the tool gives it (1), and as
// plain RGB (0), on which libpng tries its row filters.
void BM_PngEncoding(benchmark::State& state) {
    TFileRun run;
    run.WorkOut();
    const QImage written =
        QImage::fromData(ChartPicture(run.run, QSize(800, 600), TPictureFormat::Png));
    const QImage image =
        state.range(0) != 0 ? written : written.convertToFormat(QImage::Format_RGB32);
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        state.counters["bytes"] = static_cast<double>(bytes.size());
    }
    if (state.range(0) != 0 && written.format() != QImage::Format_Indexed8) {
        state.SkipWithError("the tool wrote no palette");
    }
}
BENCHMARK(BM_PngEncoding)->ArgName("palette")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillon

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
