#include "engine/WaveComponent.h"

#include "engine/CheckedWave.h"

namespace quillon {

TSeries WaveComponent(const TSeries& series, int N, int L, int R, int r) {
    return WaveComponentChecked(series, N, L, R, r);
}

} // namespace quillon
