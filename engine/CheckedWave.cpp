#include "engine/CheckedWave.h"

#include <algorithm>

#include "base/CheckedFloat.h"
#include "base/CheckedInt.h"
#include "engine/EigenSolver.h"

namespace quillon {

namespace {

using TComponents = TCheckedArray<TSeries, ComponentCapacity>;

// S[i][j] = sum over the lagged vectors t of series[t + i] * series[t + j].
void LagCovariance(const TSeries& series, int K, int L, TSquareMatrix& S) {
    for (int i = 0; i < L; ++i) {
        for (int j = 0; j < L; ++j) {
            double sum = 0.0;
            S[i][j] = sum;
            for (int t = 0; t < K; ++t) {
                sum = CheckedResult(sum + CheckedResult(series[t + i] * series[t + j]));
            }
            S[i][j] = sum;
        }
    }
}

// Projections of the lagged vectors on one eigenvector.
void PrincipalComponent(const TSeries& series, int K, int L, const TSeries& vector,
                        TSeries& component) {
    for (int t = 0; t < K; ++t) {
        double sum = 0.0;
        for (int j = 0; j < L; ++j) {
            sum = CheckedResult(sum + CheckedResult(series[t + j] * vector[j]));
        }
        component[t] = sum;
    }
}

// Averages the rank-one matrix vector * component along its anti-diagonals; the index runs over
// the shorter of its two sides.
void DiagonalAverage(int N, int K, int L, const TSeries& vector, const TSeries& component,
                     TSeries& result) {
    const int shortSide = std::min(L, K);
    const int longSide = std::max(L, K);
    for (int i = 0; i < N; ++i) {
        int first = 0;
        int last = i;
        if (i >= longSide - 1) {
            first = i - longSide + 1;
            last = N - longSide;
        } else if (i >= shortSide - 1) {
            last = shortSide - 1;
        }
        double sum = 0.0;
        for (int j = first; j <= last; ++j) {
            const int row = L <= K ? j : i - j;
            sum = CheckedResult(sum + CheckedResult(vector[row] * component[i - row]));
        }
        result[i] = CheckedQuotient(sum, last - first + 1);
    }
}

} // namespace

TSeries WaveComponentChecked(const TSeries& series, int N, int L, int R, int r) {
    const int K = CheckedAdd(CheckedSubtract(N, L), 1);
    TSquareMatrix S;
    LagCovariance(series, K, L, S);

    TCheckedArray<double, MatrixOrderCapacity> eigenvalues;
    TComponents eigenvectors;
    for (int m = 0; m < R; ++m) {
        eigenvalues[m] = KthEigenvalue(S, CheckedSubtract(L, m), L);
        EigenvectorFor(S, L, eigenvectors[m], eigenvalues[m]);
    }

    TComponents components;
    TSeries averaged;
    for (int m = 0; m < R; ++m) {
        PrincipalComponent(series, K, L, eigenvectors[m], components[m]);
        DiagonalAverage(N, K, L, eigenvectors[m], components[m], averaged);
        for (int i = 0; i < N; ++i) {
            components[m][i] = averaged[i];
        }
    }
    return components[r];
}

} // namespace quillon
