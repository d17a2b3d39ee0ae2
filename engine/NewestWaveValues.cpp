#include "engine/NewestWaveValues.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/Errors.h"
#include "engine/EigenSolverWork.h"
#include "engine/FastElimination.h"
#include "engine/FloatFaultFlags.h"
#include "engine/LaggedProducts.h"
#include "engine/ShiftedElimination.h"
#include "engine/VectorClones.h"
#include "engine/WaveComponent.h"

namespace quillon {

namespace {

template <int Width>
QUILLON_INLINE_IN_CLONES void BlockedColumn(const double* window, int K, int count, double* sums) {
    for (int i = 0;; i += Width) {
        const int first = std::min(i, count - Width);
        LaggedProducts<Width>(window + count - 1, window + first, K, sums + first);
        if (first + Width >= count) {
            return;
        }
    }
}

// sums[i] := S[i][j] of the window's lag covariance for i = 0..j: the sum over t = 0..K-1, in
// increasing order from 0.0, of window[i + t] * window[j + t], as LagCovarianceFast adds it for
// S[i][j] and S[j][i]. The last block may reach back over entries done already and writes the same
// sums there again.
QUILLON_VECTOR_CLONES void CovarianceColumn(const double* window, int K, int j, double* sums) {
    const int count = j + 1;
    if (count >= 32) {
        BlockedColumn<32>(window, K, count, sums);
    } else if (count >= 16) {
        BlockedColumn<16>(window, K, count, sums);
    } else if (count >= 8) {
        BlockedColumn<8>(window, K, count, sums);
    } else {
        double block[8] = {};
        for (int t = 0; t < K; ++t) {
            const double head = window[j + t];
            for (int i = 0; i < count; ++i) {
                block[i] = block[i] + head * window[i + t];
            }
        }
        std::copy(block, block + count, sums);
    }
}

// The largest row sum of the symmetric block S[0..n-1][0..n-1], or 0: SearchBound's additions,
// each row's from column 0 up, unchecked. Row i's sum is added down column i instead, which holds
// the same numbers, so that the inner loop runs across the rows' independent sums.
QUILLON_VECTOR_CLONES double RowSumBound(const TSquareMatrix& S, int n, std::span<double> rowSums) {
    double* __restrict sums = rowSums.data();
    std::fill(sums, sums + n, 0.0);
    for (int column = 0; column < n; ++column) {
        const double* __restrict entries = S[column].Slice(0, n).data();
        for (int row = 0; row < n; ++row) {
            sums[row] = sums[row] + entries[row];
        }
    }
    double bound = 0.0;
    for (int row = 0; row < n; ++row) {
        if (sums[row] > bound) {
            bound = sums[row];
        }
    }
    return bound;
}

} // namespace

struct TNewestWaveMaker::TWork {
    std::span<const double> points;
    int N = 0;
    int L = 0;
    int R = 0;
    int r = 0;
    int K = 0;
    // Whether the windows go the fast way (engine/README.md); otherwise each is a WaveComponent
    // call.
    bool fast = false;
    // nonFiniteBefore[i]: how many of points[0..i-1] are infinite or NaN.
    std::vector<int> nonFiniteBefore;

    // The lag covariance of window madeFor (none while below 0), built column by column; a fault
    // flag while building makes every window through taintedThrough, which may hold the faulty
    // sums, a WaveComponent call.
    TSquareMatrix S;
    int madeFor = -1;
    int taintedThrough = -1;
    std::array<double, MatrixOrderCapacity> column{};

    TShiftedElimination elimination;
    // The counts made on S, as TCountMemo keeps them.
    std::array<double, ComponentCapacity * MostBisections> shifts{};
    std::array<int, ComponentCapacity * MostBisections> counts{};
    int countsMade = 0;
    std::array<double, MatrixOrderCapacity> rowSums{};
    std::array<double, MatrixOrderCapacity> solved{};
    std::array<double, MatrixOrderCapacity> wanted{};
    std::array<double, MatrixOrderCapacity> other{};

    // A window for WaveComponent.
    TSeries series;

    void UpdateCovariance(int end);
    int CountBelow(double x);
    void Eigenvector(std::span<double> vector);
    TNewestWaveValues Solve(const double* window);
    TNewestWaveValues Fallback(int end);
};

// S of window `end` from S of window madeFor, when that ends fewer than L points before: S[i][j]
// of the one is S[i+d][j+d] of the other, the same products added in the same order, so only the
// last d columns are new. Otherwise every column is new.
void TNewestWaveMaker::TWork::UpdateCovariance(int end) {
    if (end == madeFor) {
        return;
    }
    const double* window = points.data() + (end - N + 1);
    const bool slides = madeFor >= 0 && end > madeFor && end - madeFor < L;
    const int d = slides ? end - madeFor : L;
    if (slides) {
        for (int i = 0; i + d < L; ++i) {
            const std::span<const double> from = S[i + d].Slice(d, L - d);
            std::copy(from.begin(), from.end(), S[i].Slice(0, L - d).begin());
        }
    } else {
        taintedThrough = -1;
    }
    TFloatFaultWatch watch;
    for (int j = L - d; j < L; ++j) {
        CovarianceColumn(window, K, j, column.data());
        for (int i = 0; i <= j; ++i) {
            S[i][j] = column[static_cast<std::size_t>(i)];
            S[j][i] = column[static_cast<std::size_t>(i)];
        }
    }
    madeFor = end;
    if (watch.FaultSeen()) {
        // Column j of this window is column j - e of window end + e, until it leaves at j - e < 0.
        taintedThrough = end + L - 1;
    }
}

// TCountMemo::CountBelow on S, with the elimination's fast path alone.
int TNewestWaveMaker::TWork::CountBelow(double x) {
    const auto key = std::bit_cast<std::uint64_t>(x);
    for (int i = 0; i < countsMade; ++i) {
        if (std::bit_cast<std::uint64_t>(shifts[static_cast<std::size_t>(i)]) == key) {
            return counts[static_cast<std::size_t>(i)];
        }
    }
    EliminateFast(S, L, x, elimination);
    const int count = CountNegativePivots(elimination.B, L);
    shifts[static_cast<std::size_t>(countsMade)] = x;
    counts[static_cast<std::size_t>(countsMade)] = count;
    ++countsMade;
    return count;
}

// EigenvectorIn's solve of the eliminated system, its steps in its order, unchecked.
void TNewestWaveMaker::TWork::Eigenvector(std::span<double> vector) {
    const int n = L;
    double* v = solved.data();
    v[n - 1] = 1.0;
    double sumOfSquares = 1.0;
    for (int i = n - 2; i >= 0; --i) {
        const double* row = elimination.B[i].Slice(0, n).data();
        double entry = 0.0;
        for (int j = i + 1; j < n; ++j) {
            entry = entry - row[j] * v[j];
        }
        entry = entry / row[i];
        v[i] = entry;
        sumOfSquares = sumOfSquares + entry * entry;
    }
    const double length = std::sqrt(sumOfSquares);
    for (int i = 0; i < n; ++i) {
        v[i] = v[i] / length;
    }
    for (int e = elimination.exchangeCount - 1; e >= 0; --e) {
        const int k = elimination.exchangedSteps[e];
        std::swap(v[k], v[k + 1]);
    }
    std::copy(v, v + n, vector.begin());
}

// WaveComponent's fast path after the covariance, its operations in its order with the checks
// left to the fault flags: every component's bisection on the shared counts, every component's
// eigenvector, then of the reconstruction only what entries N-3 and N-2 add up.
TNewestWaveValues TNewestWaveMaker::TWork::Solve(const double* window) {
    const double bound = RowSumBound(S, L, rowSums);
    countsMade = 0;
    for (int m = 0; m < R; ++m) {
        const int k = L - m;
        double lo = 0.0;
        double hi = SearchBoundFactor * bound;
        const double tolerance = bound / ToleranceDivisor;
        for (int step = 0; step < MostBisections && std::fabs(hi - lo) > tolerance; ++step) {
            const double mid = (lo + hi) / 2.0;
            if (CountBelow(mid) < k) {
                lo = mid;
            } else {
                hi = mid;
            }
        }
        EliminateFast(S, L, (lo + hi) / 2.0, elimination);
        Eigenvector(std::span(m == r ? wanted : other).first(static_cast<std::size_t>(L)));
    }

    // The projections that entries N-3 and N-2 take, t = K-3..K-1, each added over the lags in
    // order; then ReconstructFast's anti-diagonal sums, over the shorter side in order.
    const int firstProjection = std::max(0, K - 3);
    std::array<double, 3> projection{};
    for (int t = firstProjection; t < K; ++t) {
        double sum = 0.0;
        for (int j = 0; j < L; ++j) {
            sum = sum + window[t + j] * wanted[static_cast<std::size_t>(j)];
        }
        projection[static_cast<std::size_t>(t - firstProjection)] = sum;
    }
    const auto projectionAt = [&](int t) {
        return projection[static_cast<std::size_t>(t - firstProjection)];
    };
    const auto entry = [&](int i) {
        double sum = 0.0;
        if (L <= K) {
            for (int a = std::max(0, i - K + 1); a <= std::min(L - 1, i); ++a) {
                sum = sum + wanted[static_cast<std::size_t>(a)] * projectionAt(i - a);
            }
            return sum / std::min({i + 1, L, N - i});
        }
        for (int a = std::max(0, i - L + 1); a <= std::min(K - 1, i); ++a) {
            sum = sum + projectionAt(a) * wanted[static_cast<std::size_t>(i - a)];
        }
        return sum / std::min({i + 1, K, N - i});
    };
    return {entry(N - 3), entry(N - 2), false};
}

TNewestWaveValues TNewestWaveMaker::TWork::Fallback(int end) {
    std::copy(points.begin() + (end - N + 1), points.begin() + (end + 1),
              series.Slice(0, N).begin());
    TNewestWaveValues values;
    try {
        const TSeries wave = WaveComponent(series, N, L, R, r);
        if (N >= 3) {
            values.beforeLast = wave[N - 3];
            values.last = wave[N - 2];
        }
    } catch (const QuillonError&) {
        values.failed = true;
    }
    return values;
}

TNewestWaveMaker::TNewestWaveMaker(std::span<const double> points, int N, int L, int R, int r)
    : work_(std::make_unique<TWork>()) {
    if (N < 1 || N > SeriesCapacity) {
        ThrowRangeCheckError();
    }
    TWork& w = *work_;
    w.points = points;
    w.N = N;
    w.L = L;
    w.R = R;
    w.r = r;
    w.K = N - L + 1;
    w.fast = WithinCapacities(N, L, R, r) && N >= 3;
    w.nonFiniteBefore.resize(points.size() + 1);
    for (std::size_t i = 0; i < points.size(); ++i) {
        w.nonFiniteBefore[i + 1] = w.nonFiniteBefore[i] + (std::isfinite(points[i]) ? 0 : 1);
    }
}

TNewestWaveMaker::~TNewestWaveMaker() = default;

// Why this is WaveComponent's result (engine/README.md, "Waves of consecutive windows"): with no
// fault flag, every step is the fast path's own, and the fast path raises no flag exactly where
// WaveComponent takes its result; with one, or with a point that is not finite (whose arithmetic
// raises no flag), the window is a WaveComponent call.
TNewestWaveValues TNewestWaveMaker::At(int end) {
    TWork& w = *work_;
    if (end < w.N - 1 || end >= static_cast<int>(w.points.size())) {
        ThrowRangeCheckError();
    }
    const std::size_t first = static_cast<std::size_t>(end - w.N + 1);
    if (!w.fast ||
        w.nonFiniteBefore[static_cast<std::size_t>(end) + 1] != w.nonFiniteBefore[first]) {
        w.madeFor = -1;
        return w.Fallback(end);
    }
    w.UpdateCovariance(end);
    if (end <= w.taintedThrough) {
        return w.Fallback(end);
    }
    const TFloatFaultWatch watch;
    const TNewestWaveValues values = w.Solve(w.points.data() + first);
    return watch.FaultSeen() ? w.Fallback(end) : values;
}

void NewestWaveValues(std::span<const double> points, int N, int L, int R, int r,
                      std::span<const int> ends, std::span<TNewestWaveValues> out) {
    if (out.size() < ends.size()) {
        ThrowRangeCheckError();
    }
    for (const int end : ends) {
        if (end < N - 1 || end >= static_cast<int>(points.size())) {
            ThrowRangeCheckError();
        }
    }
    TNewestWaveMaker maker(points, N, L, R, r);
    for (std::size_t k = 0; k < ends.size(); ++k) {
        out[k] = maker.At(ends[k]);
    }
}

} // namespace quillon
