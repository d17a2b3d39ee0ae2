#pragma once

#include <algorithm>

#include "engine/VectorClones.h"

namespace quillon {

// sums[c] := the sum over t = 0..K-1, in increasing order and starting from 0.0, of
// head[t] * lagged[t + c], for c < Width; the sums stay in registers over the whole run of t.
// Every lag covariance of the fast path adds its products with this, so that an entry worked out
// as a row (WaveComponent) or as a column (NewestWaveValues) adds the same products in the same
// order: head[t] * lagged[t + c] and lagged[t + c] * head[t] are the same number.
template <int Width>
QUILLON_INLINE_IN_CLONES void LaggedProducts(const double* head, const double* lagged, int K,
                                             double* sums) {
    double block[Width] = {};
    for (int t = 0; t < K; ++t) {
        const double h = head[t];
        for (int c = 0; c < Width; ++c) {
            block[c] = block[c] + h * lagged[t + c];
        }
    }
    std::copy(block, block + Width, sums);
}

} // namespace quillon
