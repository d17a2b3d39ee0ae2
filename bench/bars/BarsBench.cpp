#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "bars/Run.h"
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

// A whole run at the window's defaults, without the chart: read the terminal's default file,
// load 500 bars, work out the four waves.
void BM_Run(benchmark::State& state) {
    TTempDir dir;
    const std::string path = WriteBarFile(dir, TerminalFileLines);
    TRun run;
    for (auto _ : state) {
        WorkOutRun(path, TRunNumbers{}, TReadSettings{}, run);
        benchmark::DoNotOptimize(run.Waves().CloseWave1()[499]);
    }
}
// The engine works the four waves out side by side, so wall time is what the user waits.
BENCHMARK(BM_Run)->Unit(benchmark::kMillisecond)->UseRealTime();

// The engine's share of a run, to tell it from the reader's.
void BM_WorkOutWaves(benchmark::State& state) {
    TTempDir dir;
    TRun run;
    WorkOutRun(WriteBarFile(dir, TerminalFileLines), TRunNumbers{}, TReadSettings{}, run);
    TRunWaves waves;
    for (auto _ : state) {
        WorkOutWaves(run.Bars(), 500, 39, 16, waves);
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
        lineCount = ReadBarLines(path, TReadSettings{}, barLines).lineCount;
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
