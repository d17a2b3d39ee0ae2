#pragma once

#include "base/Types.h"

namespace quillon {

// WaveComponent worked out step by step in the order of the analysis: all R components, every
// index and every floating-point step checked, so that the first fault raises its error. It
// accepts any arguments; beyond the capacities it fails with the range error.
TSeries WaveComponentChecked(const TSeries& series, int N, int L, int R, int r);

} // namespace quillon
