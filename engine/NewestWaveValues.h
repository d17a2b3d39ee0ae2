#pragma once

#include <memory>
#include <span>

#include "base/Types.h"

namespace quillon {

// Entries N-3 and N-2 of one WaveComponent call, the last two that a mark at close reads, or that
// the call raises (failed; the values are then 0).
struct TNewestWaveValues {
    double beforeLast = 0.0;
    double last = 0.0;
    bool failed = false;

    bool operator==(const TNewestWaveValues&) const = default;
};

// WaveComponent(window, N, L, R, r) over the windows of one series, window `end` being the N points
// points[end-N+1..end], its entries N-3 and N-2 bit for bit, and failed exactly when that call
// raises the program's error (for N < 3 only failed is of use). Made for the windows of a file's
// lines, one after the next: consecutive windows share all but one column of their lag covariance,
// so a window that ends one point (or a few) after the last one asked for costs the eigen-solve
// and little else. Any other order is allowed and costs a whole covariance. The points are the
// caller's and must neither move nor change while the maker is in use. Why the results are
// WaveComponent's: engine/README.md.
class TNewestWaveMaker {
public:
    // The range error unless 1 <= N <= SeriesCapacity, the largest window WaveComponent takes.
    TNewestWaveMaker(std::span<const double> points, int N, int L, int R, int r);
    ~TNewestWaveMaker();
    TNewestWaveMaker(const TNewestWaveMaker&) = delete;
    TNewestWaveMaker& operator=(const TNewestWaveMaker&) = delete;

    // Window `end`; the range error unless N-1 <= end < points.size().
    TNewestWaveValues At(int end);

private:
    struct TWork;
    std::unique_ptr<TWork> work_;
};

// out[k] := TNewestWaveMaker(points, N, L, R, r).At(ends[k]) for each k, the ends best ascending.
// The range error, before anything is written, when out is shorter than ends or an end or N is out
// of range.
void NewestWaveValues(std::span<const double> points, int N, int L, int R, int r,
                      std::span<const int> ends, std::span<TNewestWaveValues> out);

} // namespace quillon
