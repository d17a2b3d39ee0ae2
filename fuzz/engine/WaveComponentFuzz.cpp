#include <cmath>
#include <cstdlib>

#include "base/Errors.h"
#include "base/Types.h"
#include "engine/WaveComponent.h"
#include "fuzz/FuzzInput.h"

namespace {

// Short series keep each case fast: the eigen-solver's cost grows with the cube of the lag.
constexpr int LongestSeries = 32;
constexpr int MostComponents = 5;

// Small whole numbers make exact sums, so zero pivots, flat and repeated series come up often;
// raw Doubles bring huge, tiny and non-finite values.
quillon::TSeries TakeSeries(quillon::TFuzzBytes& bytes, int N, bool rawDoubles) {
    quillon::TSeries series;
    for (int i = 0; i < N; ++i) {
        series[i] = rawDoubles ? bytes.TakeDouble()
                               : static_cast<double>(static_cast<std::int8_t>(bytes.TakeByte()));
    }
    return series;
}

} // namespace

// Any short series and any lag up to two past its length gives a finite wave or fails with one of
// the program's own errors. With a lag of 1 the leading component is the series itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillon::TFuzzBytes bytes(data, size);
    const bool rawDoubles = (bytes.TakeByte() & 1) != 0;
    const int N = 1 + bytes.TakeBelow(LongestSeries);
    const int L = bytes.TakeBelow(N + 3);
    const int R = 1 + bytes.TakeBelow(MostComponents);
    const int r = bytes.TakeBelow(R);
    const quillon::TSeries series = TakeSeries(bytes, N, rawDoubles);

    quillon::TSeries wave;
    try {
        wave = quillon::WaveComponent(series, N, L, R, r);
    } catch (const quillon::QuillonError&) {
        return 0;
    }
    for (int i = 0; i < N; ++i) {
        if (!std::isfinite(wave[i])) {
            std::abort();
        }
        if (L == 1 && wave[i] != series[i]) {
            std::abort();
        }
    }
    return 0;
}
