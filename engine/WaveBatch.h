#pragma once

#include <span>

#include "base/Types.h"

namespace quillon {

// One WaveComponent call: component r of R, window length L, over series[0..N-1].
struct TWaveRequest {
    const TSeries* series = nullptr;
    int N = 0;
    int L = 0;
    int R = 0;
    int r = 0;
};

// Works out results[i] = WaveComponent(requests[i]) for every request. The calls are pure, so
// they may run side by side. When any call fails, the error of the first failing request in
// order is raised, as if the calls had run one after another, and no result is written. Equal
// requests (equal arguments, bitwise equal points) are worked out once. results must hold at
// least as many series as there are requests (else the range error). At most maxThreads threads,
// the caller's included, work them out; 0 means one a processor. A caller that already works
// several batches side by side, one a thread, passes 1 so that the processors are not shared out
// twice over.
void WaveComponents(std::span<const TWaveRequest> requests, std::span<TSeries> results,
                    unsigned maxThreads = 0);

} // namespace quillon
