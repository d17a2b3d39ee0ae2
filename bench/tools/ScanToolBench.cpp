#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <string>
#include <vector>

#include "bars/ReadPolicy.h"
#include "bench/tools/TerminalFolder.h"
#include "tests/tools/RunProcess.h"
#include "tools/RunOptions.h"
#include "tools/ScanCommand.h"
#include "tools/ScanFiles.h"

// quillon-scan over a terminal's folder (TTerminalFolder). The whole process at the defaults and
// with one and two jobs; the time per file in the process's own work, from 10 files to all 252;
// the process's peak memory.

namespace quillon {
namespace {

// The largest resident size of any child waited for so far, in MB.
double ChildrenPeakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The whole process over the 252 files; jobs 0 leaves --jobs at its default.
void BM_QuillonScanProcess(benchmark::State& state) {
    const TTerminalFolder folder(TerminalFolderFiles);
    std::vector<std::string> args{folder.path};
    if (state.range(0) != 0) {
        args.push_back("--jobs=" + std::to_string(state.range(0)));
    }
    int status = 0;
    for (auto _ : state) {
        status = RunProcess(QUILLON_SCAN_PROGRAM, args, NoLocale).exitCode;
    }
    state.counters["peak_MB"] = ChildrenPeakMegabytes();
    if (status != 0) {
        state.SkipWithError("quillon-scan failed");
    }
}
BENCHMARK(BM_QuillonScanProcess)
    ->ArgName("jobs")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(10)
    ->ReportAggregatesOnly();

// The process's own work at the default jobs, without its start and its output: the folder
// listed, the files worked out, the rows sorted; per_file_ms is one scan's time shared out over
// its files.
void BM_ScanRows(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const TTerminalFolder folder(files);
    const int jobs = ProcessorCount();
    std::size_t rows = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        rows = ScanRows({folder.path}, TRunNumbers{}, ScriptRead('.'), jobs).size();
    }
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    state.counters["per_file_ms"] =
        spent.count() / static_cast<double>(state.iterations()) / static_cast<double>(files);
    if (rows != static_cast<std::size_t>(files)) {
        state.SkipWithError("a file is missing from the rows");
    }
}
BENCHMARK(BM_ScanRows)
    ->ArgName("files")
    ->Arg(10)
    ->Arg(TerminalFolderFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(10)
    ->ReportAggregatesOnly();

} // namespace
} // namespace quillon

BENCHMARK_MAIN();
