#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "bars/MarksAtClose.h"
#include "bars/Run.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

// A file long enough for every loaded bar of the longest run to have its N lines: 2,000 bars. The
// terminal's script writes 1,900 unless told otherwise.
std::string WriteBarFile(const TTempDir& dir) {
    return dir.Write("bars.csv", BarFileText(TBarFileSettings{.barCount = 2 * SeriesCapacity}));
}

// The marks at close of every loaded bar, worked out afresh on 2 threads, as a file is first
// followed: at the window's defaults the aim is 200 ms, and 5 s for 1,000 bars at lags 101/101.
void BM_MarksAtCloseCold(benchmark::State& state) {
    TTempDir dir;
    const TRunNumbers numbers{static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                              static_cast<int>(state.range(2))};
    TRun run;
    WorkOutRun(WriteBarFile(dir), numbers, TReadSettings{}, run);
    int marked = 0;
    for (auto _ : state) {
        const TMarksAtClose marks = MarksAtClose(run, 2);
        marked = AgreementOf(run, marks).marked;
    }
    if (marked != numbers.N) {
        state.SkipWithError("a bar lacks its mark at close");
    }
}
BENCHMARK(BM_MarksAtCloseCold)
    ->Args({DefaultBarCount, DefaultLag1, DefaultLag2})
    ->Args({1000, 101, 101})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The marks at close of every line of a 1,900-line file that has N lines up to it (1,401 windows
// at the defaults, 901 at 1,000 bars), consecutive windows one line apart, worked out afresh on 2
// threads: the aim is 110 ms at the window's defaults (at most 150), and at most 1.5 s for 1,000
// bars at lags 101/101.
void BM_WholeFileMarksAtClose(benchmark::State& state) {
    TTempDir dir;
    const TRunNumbers numbers{static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                              static_cast<int>(state.range(2))};
    TRun run;
    WorkOutRun(dir.Write("bars.csv", BarFileText(TBarFileSettings{})), numbers, TReadSettings{},
               run);
    std::size_t marked = 0;
    for (auto _ : state) {
        const TMarksAtClose marks = WholeFileMarksAtClose(run, 2);
        marked = static_cast<std::size_t>(std::count_if(
            marks.begin(), marks.end(), [](const TMarkAtClose& mark) { return mark.has_value(); }));
    }
    state.counters["windows"] = static_cast<double>(marked);
    if (marked != static_cast<std::size_t>(run.LineCount() - numbers.N + 1)) {
        state.SkipWithError("a line with N lines up to it lacks its mark at close");
    }
}
BENCHMARK(BM_WholeFileMarksAtClose)
    ->Args({DefaultBarCount, DefaultLag1, DefaultLag2})
    ->Args({1000, 101, 101})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// quillon-waves --at-close as a script runs it at the defaults, start to exit: the aim is 250 ms.
void BM_QuillonWavesAtCloseProcess(benchmark::State& state) {
    TTempDir dir;
    const std::string path = WriteBarFile(dir);
    int status = 0;
    for (auto _ : state) {
        status = RunProcess(QUILLON_WAVES_PROGRAM, {path, "--at-close"}).exitCode;
    }
    if (status != 0) {
        state.SkipWithError("quillon-waves --at-close failed");
    }
}
BENCHMARK(BM_QuillonWavesAtCloseProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace quillon
