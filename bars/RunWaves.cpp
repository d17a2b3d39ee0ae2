#include "bars/RunWaves.h"

#include <span>

#include "engine/WaveBatch.h"

namespace quillon {

namespace {

// The one place that says how a close wave is asked for, so that a mark worked out with the
// close waves alone is the full run's.
TWaveRequest CloseWaveRequest(const TBarTable& bars, int N, int L) {
    return {&bars.BarClose, N, L, WaveComponentsWorkedOut, CloseWaveComponent};
}

} // namespace

void WorkOutWaves(const TBarTable& bars, int N, int W1, int W2, TRunWaves& waves,
                  unsigned maxThreads) {
    const std::array<TWaveRequest, 4> requests{{
        CloseWaveRequest(bars, N, W1),
        CloseWaveRequest(bars, N, W2),
        {&bars.BarOpen, N, W1, WaveComponentsWorkedOut, OpenWaveComponent},
        {&bars.BarOpen, N, W2, WaveComponentsWorkedOut, OpenWaveComponent},
    }};
    WaveComponents(requests, waves.waves_, maxThreads);
}

void WorkOutCloseWaves(const TBarTable& bars, int N, int W1, int W2, TRunWaves& waves,
                       unsigned maxThreads) {
    const std::array<TWaveRequest, 2> requests{
        {CloseWaveRequest(bars, N, W1), CloseWaveRequest(bars, N, W2)}};
    WaveComponents(requests, std::span(waves.waves_).first(requests.size()), maxThreads);
}

TTick TickAt(const TRunWaves& waves, int row) {
    const TSeries& wave1 = waves.CloseWave1();
    const TSeries& wave2 = waves.CloseWave2();
    return TickOf(wave1[row - 2], wave1[row - 1], wave2[row - 2], wave2[row - 1]);
}

TTick TickOf(double before1, double last1, double before2, double last2) {
    if (last1 > before1 && last2 > before2) {
        return TTick::Up;
    }
    if (last1 < before1 && last2 < before2) {
        return TTick::Down;
    }
    return TTick::None;
}

} // namespace quillon
