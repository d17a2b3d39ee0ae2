#pragma once

#include "base/Types.h"

namespace quillon {

// Component r of the R leading components of a basic singular spectrum analysis of
// series[0..N-1] with window length L, reconstructed by diagonal averaging. Entries 0..N-1 of the
// result carry the component. The caller keeps 1 <= L <= 101, L <= N <= 1000, 1 <= R <= 10 and
// 0 <= r < R; beyond the capacities the range error is raised.
TSeries WaveComponent(const TSeries& series, int N, int L, int R, int r);

// Whether N, L, R and r are within the capacities above, where the fast computation serves.
bool WithinCapacities(int N, int L, int R, int r);

} // namespace quillon
