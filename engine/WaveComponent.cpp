#include "engine/WaveComponent.h"

#include <algorithm>
#include <span>

#include "engine/CheckedWave.h"
#include "engine/EigenSolver.h"
#include "engine/EigenSolverWork.h"
#include "engine/FloatFaultFlags.h"
#include "engine/LaggedProducts.h"
#include "engine/VectorClones.h"

namespace quillon {

namespace {

// Row i of S from column i on, Width columns at a time. The last block ends at column L-1 and
// may reach back over columns done already, or left of the diagonal; it writes the same sums
// there again, since S[i][j] and S[j][i] add the same products in the same order.
template <int Width>
QUILLON_INLINE_IN_CLONES void LagCovarianceRow(std::span<const double> points, int K, int L, int i,
                                               std::span<double> row) {
    for (int j = i;; j += Width) {
        const int first = std::min(j, L - Width);
        LaggedProducts<Width>(points.data() + i, points.data() + first, K, row.data() + first);
        if (first + Width >= L) {
            return;
        }
    }
}

// The same sums for a short window, one pass over t with every column in the inner loop.
QUILLON_INLINE_IN_CLONES void ShortLagCovarianceRow(std::span<const double> points, int K, int L,
                                                    int i, std::span<double> row) {
    std::fill(row.begin() + i, row.end(), 0.0);
    for (int t = 0; t < K; ++t) {
        const double head = points[t + i];
        for (int j = i; j < L; ++j) {
            row[j] = row[j] + head * points[t + j];
        }
    }
}

// S[i][j] for j >= i, each summed over t in increasing order as the checked computation does,
// and mirrored: the products of S[j][i] are the same numbers in the same order.
QUILLON_VECTOR_CLONES void LagCovarianceFast(std::span<const double> points, int L,
                                             TSquareMatrix& S) {
    const int K = static_cast<int>(points.size()) - L + 1;
    for (int i = 0; i < L; ++i) {
        std::span<double> row = S[i].Slice(0, L);
        if (L >= 32) {
            LagCovarianceRow<32>(points, K, L, i, row);
        } else if (L >= 8) {
            LagCovarianceRow<8>(points, K, L, i, row);
        } else {
            ShortLagCovarianceRow(points, K, L, i, row);
        }
        for (int j = i + 1; j < L; ++j) {
            S[j][i] = row[j];
        }
    }
}

// Projections of the lagged vectors on the eigenvector, then the averages along the
// anti-diagonals of their rank-one product. Every sum adds its terms in the order of the checked
// computation; only the loops are turned so that the inner one vectorises.
QUILLON_VECTOR_CLONES void ReconstructFast(std::span<const double> points,
                                           std::span<const double> vector,
                                           std::span<double> projection, std::span<double> result) {
    const int N = static_cast<int>(points.size());
    const int L = static_cast<int>(vector.size());
    const int K = N - L + 1;
    std::fill(projection.begin(), projection.end(), 0.0);
    for (int j = 0; j < L; ++j) {
        const double weight = vector[j];
        const double* __restrict lagged = points.data() + j;
        double* __restrict sums = projection.data();
        for (int t = 0; t < K; ++t) {
            sums[t] = sums[t] + lagged[t] * weight;
        }
    }
    // The anti-diagonal sums run over the shorter side of the L x K product.
    const bool overVector = L <= K;
    const int shortSide = overVector ? L : K;
    const int longSide = overVector ? K : L;
    std::fill(result.begin(), result.end(), 0.0);
    for (int a = 0; a < shortSide; ++a) {
        const double* __restrict along = (overVector ? projection : vector).data();
        const double across = (overVector ? vector : projection)[a];
        double* __restrict sums = result.data() + a;
        for (int b = 0; b < longSide; ++b) {
            sums[b] = sums[b] + across * along[b];
        }
    }
    for (int i = 0; i < N; ++i) {
        result[i] = result[i] / std::min({i + 1, shortSide, N - i});
    }
}

} // namespace

bool WithinCapacities(int N, int L, int R, int r) {
    return L >= 1 && L <= MatrixOrderCapacity && N >= L && N <= SeriesCapacity && R >= 1 &&
           R <= ComponentCapacity && r >= 0 && r < R;
}

TSeries WaveComponent(const TSeries& series, int N, int L, int R, int r) {
    if (!WithinCapacities(N, L, R, r)) {
        return WaveComponentChecked(series, N, L, R, r);
    }
    const std::span<const double> points = series.Slice(0, N);
    TFloatFaultWatch watch;
    TSquareMatrix S;
    LagCovarianceFast(points, L, S);
    if (watch.FaultSeen()) {
        return WaveComponentChecked(series, N, L, R, r);
    }

    // Every component's eigenpair is worked out, wanted or not, so that a fault in any of them
    // raises its error just as the checked computation would; these raise exact errors on their
    // own.
    TShiftedElimination work;
    TCountMemo counts(S, L, work);
    TSeries wanted;
    TSeries other;
    for (int m = 0; m < R; ++m) {
        const double eigenvalue = KthEigenvalueFrom(counts, L - m);
        EigenvectorIn(work, S, L, m == r ? wanted : other, eigenvalue);
    }

    watch.Restart();
    TSeries projection;
    TSeries result;
    ReconstructFast(points, wanted.Slice(0, L), projection.Slice(0, N - L + 1), result.Slice(0, N));
    if (watch.FaultSeen()) {
        return WaveComponentChecked(series, N, L, R, r);
    }
    return result;
}

} // namespace quillon
