#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "bars/MakeWavesRun.h"
#include "bars/ReadBarLines.h"
#include "bars/RunWaves.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

// The file the terminal's script writes with its default settings: 1,900 bars.
constexpr int TerminalFileLines = 1900;

std::string WriteBarFile(const TTempDir& dir, int barCount) {
    TBarFileSettings settings;
    settings.barCount = barCount;
    return dir.Write("bars" + std::to_string(barCount) + ".csv", BarFileText(settings));
}

TRunSettings DefaultsOn(std::string path) {
    TRunSettings settings;
    settings.sourceFilePath = std::move(path);
    return settings;
}

// What a run works on: the terminal's default file, the window's settings and stores.
struct TRunState {
    TTempDir dir;
    TRunSettings settings = DefaultsOn(WriteBarFile(dir, TerminalFileLines));
    TBarLines barLines;
    TBarTable bars;
    TChartModel chart;

    void Run() { MakeWavesRun(settings, barLines, bars, chart); }
};

// A whole run at the window's defaults: read the file, load 500 bars, four waves, refill the
// chart.
void BM_MakeWavesRun(benchmark::State& state) {
    TRunState run;
    for (auto _ : state) {
        run.Run();
        benchmark::DoNotOptimize(run.chart.Series17().Candles().data());
    }
    if (run.chart.Series17().Candles().size() != 500) {
        state.SkipWithError("the run did not complete");
    }
}
// The engine works the four waves out side by side, so wall time is what the user waits.
BENCHMARK(BM_MakeWavesRun)->Unit(benchmark::kMillisecond)->UseRealTime();

// The engine's share of a run, to tell it from the reader's and the chart's.
void BM_WorkOutWaves(benchmark::State& state) {
    TRunState run;
    run.Run();
    TRunWaves waves;
    for (auto _ : state) {
        WorkOutWaves(run.bars, 500, 39, 16, waves);
        benchmark::DoNotOptimize(waves.CloseWave1()[499]);
    }
}
BENCHMARK(BM_WorkOutWaves)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadBarLines(benchmark::State& state) {
    TTempDir dir;
    const int lines = static_cast<int>(state.range(0));
    const std::string path = WriteBarFile(dir, lines);
    TBarLines barLines;
    int lineCount = 0;
    for (auto _ : state) {
        lineCount = ReadBarLines(path, TReadSettings{}, barLines);
        benchmark::DoNotOptimize(lineCount);
    }
    if (lineCount != std::min(lines, BarLinesCapacity)) {
        state.SkipWithError("the read failed");
    }
}
BENCHMARK(BM_ReadBarLines)
    ->Arg(TerminalFileLines)
    ->Arg(BarLinesCapacity)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

// quillon-waves as a user's script runs it: start, read, work out, print, exit.
void BM_QuillonWavesProcess(benchmark::State& state) {
    TTempDir dir;
    const std::string path = WriteBarFile(dir, TerminalFileLines);
    int status = 0;
    for (auto _ : state) {
        status = RunProcess(QUILLON_WAVES_PROGRAM, {path}).exitCode;
    }
    if (status != 0) {
        state.SkipWithError("quillon-waves failed");
    }
}
BENCHMARK(BM_QuillonWavesProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace quillon
