#include <array>
#include <cmath>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "LiteralEngine.h"
#include "engine/NewestWaveValues.h"
#include "engine/WaveBatch.h"
#include "engine/WaveComponent.h"

namespace quillon {
namespace {

// Five-digit quotes of a random walk around 1.1; the opens trail the closes by one bar.
struct TPrices {
    TSeries close;
    TSeries open;
};

TPrices MakePrices() {
    std::mt19937_64 random(42);
    std::normal_distribution<double> step(0.0, 0.0004);
    TPrices prices;
    double price = 1.1;
    for (int i = 0; i < SeriesCapacity; ++i) {
        prices.open[i] = std::round(price * 100000.0) / 100000.0;
        price += step(random);
        prices.close[i] = std::round(price * 100000.0) / 100000.0;
    }
    return prices;
}

const TPrices Prices = MakePrices();

constexpr int Components = 5;

// The four calls of one run: component 0 of the closes and component 1 of the opens, each with
// both lags.
std::array<TWaveRequest, 4> RunRequests(int N, int lag1, int lag2) {
    return {TWaveRequest{&Prices.close, N, lag1, Components, 0},
            TWaveRequest{&Prices.close, N, lag2, Components, 0},
            TWaveRequest{&Prices.open, N, lag1, Components, 1},
            TWaveRequest{&Prices.open, N, lag2, Components, 1}};
}

void BM_WaveComponent(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(WaveComponent(Prices.close, 500, 39, Components, 0));
    }
}

void BM_WaveComponentOracle(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(oracle::WaveComponent(Prices.close, 500, 39, Components, 0));
    }
}

void BM_Run(benchmark::State& state) {
    const auto requests = RunRequests(state.range(0), state.range(1), state.range(2));
    std::array<TSeries, 4> waves;
    for (auto _ : state) {
        WaveComponents(requests, waves);
        benchmark::DoNotOptimize(waves);
    }
}

void BM_RunOracle(benchmark::State& state) {
    const auto requests = RunRequests(state.range(0), state.range(1), state.range(2));
    std::array<TSeries, 4> waves;
    for (auto _ : state) {
        for (int i = 0; i < 4; ++i) {
            const TWaveRequest& q = requests[i];
            waves[i] = oracle::WaveComponent(*q.series, q.N, q.L, q.R, q.r);
        }
        benchmark::DoNotOptimize(waves);
    }
}

// Arguments of a run: N, W1, W2. With equal lags the batch works out two distinct calls, so
// 101 and 100 show the price of four.
void RunSizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"N", "W1", "W2"})->Args({500, 39, 16})->Args({1000, 101, 101});
    b->Args({1000, 101, 100});
}

// Closes of a 1,900-line file, a random walk as above.
std::vector<double> FileCloses() {
    std::mt19937_64 random(1900);
    std::normal_distribution<double> step(0.0, 0.0004);
    std::vector<double> closes;
    double price = 1.1;
    for (int i = 0; i < 1900; ++i) {
        price += step(random);
        closes.push_back(std::round(price * 100000.0) / 100000.0);
    }
    return closes;
}

// The close wave's newest entries of every window of N lines of the file, one after the next, on
// one thread: the work of the marks at close of a whole file for one lag.
void BM_NewestWaveValues(benchmark::State& state) {
    const std::vector<double> closes = FileCloses();
    const int N = static_cast<int>(state.range(0));
    const int L = static_cast<int>(state.range(1));
    std::vector<int> ends;
    for (int end = N - 1; end < static_cast<int>(closes.size()); ++end) {
        ends.push_back(end);
    }
    std::vector<TNewestWaveValues> out(ends.size());
    for (auto _ : state) {
        NewestWaveValues(closes, N, L, Components, 0, ends, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["windows"] = static_cast<double>(ends.size());
}

// The same windows, each a WaveComponent call.
void BM_NewestWaveValuesByCalls(benchmark::State& state) {
    const std::vector<double> closes = FileCloses();
    const int N = static_cast<int>(state.range(0));
    const int L = static_cast<int>(state.range(1));
    TSeries window;
    for (auto _ : state) {
        for (int end = N - 1; end < static_cast<int>(closes.size()); ++end) {
            std::copy(closes.begin() + (end - N + 1), closes.begin() + (end + 1),
                      window.Slice(0, N).begin());
            benchmark::DoNotOptimize(WaveComponent(window, N, L, Components, 0));
        }
    }
}

void WindowSizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"N", "L"})->Args({500, 39})->Args({500, 16})->Args({1000, 101});
}

BENCHMARK(BM_NewestWaveValues)->Apply(WindowSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewestWaveValuesByCalls)->Apply(WindowSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaveComponent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WaveComponentOracle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Run)->Apply(RunSizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RunOracle)->Apply(RunSizes)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace quillon

BENCHMARK_MAIN();
