#include <cmath>

#include "base/Errors.h"
#include "engine/WaveComponent.h"
#include "fuzz/FuzzInput.h"

using namespace quillon;

// Any short series and any lag up to two past its length gives a finite wave or fails with one of
// the program's own errors. With a lag of 1 the leading component is the series itself. Small
// whole numbers make exact sums, so zero pivots, flat and repeated series come up often; raw
// Doubles bring huge, tiny and non-finite values.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzBytes bytes(data, size);
    const bool rawDoubles = (bytes.Take() & 1) != 0;
    // Short series keep each case fast: the eigen-solver's cost grows with the cube of the lag.
    const int N = 1 + bytes.TakeBelow(32);
    const int L = bytes.TakeBelow(N + 3);
    const int R = 1 + bytes.TakeBelow(5);
    const int r = bytes.TakeBelow(R);
    TSeries series;
    for (int i = 0; i < N; ++i) {
        series[i] = rawDoubles ? bytes.Take<double>()
                               : static_cast<double>(static_cast<std::int8_t>(bytes.Take()));
    }
    try {
        const TSeries wave = WaveComponent(series, N, L, R, r);
        for (int i = 0; i < N; ++i) {
            Require(std::isfinite(wave[i]) && (L != 1 || wave[i] == series[i]));
        }
    } catch (const QuillonError&) {
    }
    return 0;
}
