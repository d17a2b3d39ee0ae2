#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "engine/ShiftedElimination.h"

namespace quillon {

namespace {

// The checked elimination rounds twice per skipped update and the bound four times; a margin of
// eight units in the last place keeps the bound above every value the checked run would hold.
constexpr double BoundMargin = 1.0 + 0x1p-50;

// Unchecked access to the rows of an elimination, each row taken once as a checked slice of n
// entries; every column index below stays under n.
struct TRows {
    std::array<double*, MatrixOrderCapacity> row{};
    double* bound = nullptr;
    int n = 0;
};

// The factors of one or two pivot steps for the rows below them, indexed by row.
struct TFactors {
    std::array<double, MatrixOrderCapacity> first{};
    std::array<double, MatrixOrderCapacity> second{};
};

inline double Bounded(double bound, double f, double pivotRowBound, double residue) {
    return std::max((bound + std::fabs(f) * pivotRowBound) * BoundMargin, std::fabs(residue));
}

// Pivot step k for the rows from..to-1: each factor, and the bound on the columns left of the
// diagonal, which now take in the residue left in column k. The loop runs over rows so that the
// divisions vectorise; the columns are read into contiguous arrays first.
inline void StepFactors(TRows& m, int k, int from, int to, TFactors& f) {
    const double pivot = m.row[k][k];
    const double pivotBound = m.bound[k];
    for (int i = from; i < to; ++i) {
        f.second[i] = m.row[i][k];
    }
    for (int i = from; i < to; ++i) {
        const double entry = f.second[i];
        const double factor = entry / pivot;
        m.bound[i] = Bounded(m.bound[i], factor, pivotBound, entry - factor * pivot);
        f.first[i] = factor;
    }
}

// Pivot steps k and k+1 for the rows from..n-1. Column k+1 gets its step-k update before its
// factor for step k+1 is taken, exactly as in two separate steps.
inline void PairFactors(TRows& m, int k, int from, TFactors& f) {
    const double pivot1 = m.row[k][k];
    const double across = m.row[k][k + 1];
    const double pivot2 = m.row[k + 1][k + 1];
    const double bound1 = m.bound[k];
    const double bound2 = m.bound[k + 1];
    std::array<double, MatrixOrderCapacity> column1;
    for (int i = from; i < m.n; ++i) {
        column1[i] = m.row[i][k];
        f.second[i] = m.row[i][k + 1];
    }
    for (int i = from; i < m.n; ++i) {
        const double f1 = column1[i] / pivot1;
        const double bound = Bounded(m.bound[i], f1, bound1, column1[i] - f1 * pivot1);
        const double updated = f.second[i] - f1 * across;
        const double f2 = updated / pivot2;
        m.bound[i] = Bounded(bound, f2, bound2, updated - f2 * pivot2);
        f.first[i] = f1;
        f.second[i] = f2;
    }
}

inline void SweepOnce(double* __restrict target, const double* __restrict pivotRow, int from,
                      int to, double f) {
    for (int j = from; j < to; ++j) {
        target[j] = target[j] - f * pivotRow[j];
    }
}

// Every entry gets the two updates in the order and with the roundings of two separate sweeps.
inline void SweepTwice(double* __restrict target, const double* __restrict first,
                       const double* __restrict second, int from, int to, double f1, double f2) {
    for (int j = from; j < to; ++j) {
        const double once = target[j] - f1 * first[j];
        target[j] = once - f2 * second[j];
    }
}

// Columns k and k+1 change places in every row, the rows above the pivot included, since the
// back-substitution reads them there.
void ExchangeColumns(TRows& m, TShiftedElimination& e, int k) {
    for (int r = 0; r < m.n; ++r) {
        std::swap(m.row[r][k], m.row[r][k + 1]);
    }
    e.exchangedSteps[e.exchangeCount] = k;
    ++e.exchangeCount;
}

// Built for AVX2 as well as for any x86-64; neither build contracts a multiply and a subtract
// into one rounding.
__attribute__((target_clones("avx2", "default"))) void EliminateSteps(TRows& m,
                                                                      TShiftedElimination& e) {
    const int n = m.n;
    TFactors f;
    int k = 0;
    while (k + 1 < n) {
        if (m.row[k][k] == 0.0) {
            ExchangeColumns(m, e, k);
        }
        StepFactors(m, k, k + 1, k + 2, f);
        SweepOnce(m.row[k + 1], m.row[k], k + 1, n, f.first[k + 1]);
        // Two steps share a sweep unless the second needs an exchange first.
        if (k + 2 < n && m.row[k + 1][k + 1] != 0.0) {
            PairFactors(m, k, k + 2, f);
            for (int i = k + 2; i < n; ++i) {
                SweepTwice(m.row[i], m.row[k], m.row[k + 1], k + 2, n, f.first[i], f.second[i]);
            }
            k += 2;
        } else {
            StepFactors(m, k, k + 2, n, f);
            for (int i = k + 2; i < n; ++i) {
                SweepOnce(m.row[i], m.row[k], k + 1, n, f.first[i]);
            }
            k += 1;
        }
    }
}

} // namespace

void EliminateFast(const TSquareMatrix& A, int n, double x, TShiftedElimination& result) {
    TRows m;
    m.n = n;
    m.bound = result.skippedBound.Slice(0, n).data();
    for (int i = 0; i < n; ++i) {
        std::span<const double> source = A[i].Slice(0, n);
        m.row[i] = result.B[i].Slice(0, n).data();
        std::copy(source.begin(), source.end(), m.row[i]);
        m.row[i][i] = m.row[i][i] - x;
        m.bound[i] = 0.0;
    }
    result.exchangeCount = 0;
    EliminateSteps(m, result);
}

} // namespace quillon
