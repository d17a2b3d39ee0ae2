#include "engine/FastElimination.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <utility>

#include "engine/VectorClones.h"

namespace quillon {

namespace {

// Keeps the bound of the skipped entries above what the checked run holds there (engine/README.md).
constexpr double BoundMargin = 1.0 + 0x1p-50;

// Unchecked access to the rows of an elimination, each row taken once as a checked slice of n
// entries; every column index below stays under n.
struct TRows {
    std::array<double*, MatrixOrderCapacity> row{};
    double* bound = nullptr;
    int n = 0;
};

QUILLON_INLINE_IN_CLONES double Bounded(double bound, double f, double pivotRowBound,
                                        double residue) {
    return std::max((bound + std::fabs(f) * pivotRowBound) * BoundMargin, std::fabs(residue));
}

// Pivot step k for row i, on the columns right of the pivot; the residue it leaves in column k
// only feeds the bound.
QUILLON_INLINE_IN_CLONES void EliminateRow(TRows& m, int k, int i) {
    double* __restrict target = m.row[i];
    const double* __restrict pivotRow = m.row[k];
    const double f = target[k] / pivotRow[k];
    m.bound[i] = Bounded(m.bound[i], f, m.bound[k], target[k] - f * pivotRow[k]);
    for (int j = k + 1; j < m.n; ++j) {
        target[j] = target[j] - f * pivotRow[j];
    }
}

// Columns k and k+1 change places in every row, the rows above the pivot included, since the
// back-substitution reads them there.
QUILLON_INLINE_IN_CLONES void ExchangeColumns(TRows& m, TShiftedElimination& e, int k) {
    for (int r = 0; r < m.n; ++r) {
        std::swap(m.row[r][k], m.row[r][k + 1]);
    }
    e.exchangedSteps[e.exchangeCount] = k;
    ++e.exchangeCount;
}

// Pivot steps taken together by the blocked elimination.
constexpr int PanelWidth = 8;

// One panel of the blocked elimination: columns k0..k0+width-1 held column by column, so that
// the work on them runs over rows and vectorises, and the factors of its steps.
struct TPanel {
    std::array<std::array<double, MatrixOrderCapacity>, PanelWidth> column;
    std::array<std::array<double, MatrixOrderCapacity>, PanelWidth> factor;
    // The pivot rows right of the panel, finished, side by side in one block.
    std::array<std::array<double, MatrixOrderCapacity>, PanelWidth> pivotRight;
};

// The panel's own steps on its own columns, for every row below each pivot. Returns false at a
// zero pivot, which needs a column exchange the blocked elimination does not make.
QUILLON_INLINE_IN_CLONES bool FactorPanel(TRows& m, TPanel& p, int k0, int width, int steps) {
    const int n = m.n;
    for (int c = 0; c < width; ++c) {
        for (int i = k0; i < n; ++i) {
            p.column[c][i] = m.row[i][k0 + c];
        }
    }
    for (int st = 0; st < steps; ++st) {
        const int s = k0 + st;
        const double pivot = p.column[st][s];
        if (pivot == 0.0) {
            return false;
        }
        const double pivotBound = m.bound[s];
        double* __restrict factors = p.factor[st].data();
        const double* __restrict own = p.column[st].data();
        for (int i = s + 1; i < n; ++i) {
            const double f = own[i] / pivot;
            m.bound[i] = Bounded(m.bound[i], f, pivotBound, own[i] - f * pivot);
            factors[i] = f;
        }
        for (int c = st + 1; c < width; ++c) {
            const double across = p.column[c][s];
            double* __restrict entries = p.column[c].data();
            for (int i = s + 1; i < n; ++i) {
                entries[i] = entries[i] - factors[i] * across;
            }
        }
    }
    // The panel's rows keep their diagonal and what lies right of it; below the diagonal only
    // residue remains.
    for (int r = k0; r < k0 + width; ++r) {
        for (int c = r - k0; c < width; ++c) {
            m.row[r][k0 + c] = p.column[c][r];
        }
    }
    return true;
}

// Applies the panel's first Steps steps, in order, to row i right of the panel: every entry gets
// the same updates with the same roundings as step by step.
template <int Steps>
QUILLON_INLINE_IN_CLONES void UpdateRight(TRows& m, const TPanel& p, int k0, int i) {
    double f[Steps];
    for (int st = 0; st < Steps; ++st) {
        f[st] = p.factor[st][i];
    }
    double* __restrict target = m.row[i];
    for (int j = k0 + PanelWidth; j < m.n; ++j) {
        double x = target[j];
        for (int st = 0; st < Steps; ++st) {
            x = x - f[st] * p.pivotRight[st][j];
        }
        target[j] = x;
    }
}

QUILLON_INLINE_IN_CLONES void KeepPivotRowRight(const TRows& m, TPanel& p, int k0, int st) {
    const double* source = m.row[k0 + st];
    std::copy(source + k0 + PanelWidth, source + m.n, p.pivotRight[st].data() + k0 + PanelWidth);
}

// The panel's pivot rows right of the panel, each finished before the rows below it use it.
template <int... Steps>
QUILLON_INLINE_IN_CLONES void UpdatePivotRowsRight(TRows& m, TPanel& p, int k0,
                                                   std::integer_sequence<int, Steps...>) {
    KeepPivotRowRight(m, p, k0, 0);
    ((UpdateRight<Steps + 1>(m, p, k0, k0 + Steps + 1), KeepPivotRowRight(m, p, k0, Steps + 1)),
     ...);
}

// The same steps as EliminateSteps, a panel of eight at a time: the panel's columns first, then
// its pivot rows right of it, then every later row right of it with all eight steps in one sweep.
// Gives up (false) at a zero pivot.
QUILLON_VECTOR_CLONES bool EliminateBlocked(TRows& m) {
    const int n = m.n;
    TPanel p;
    for (int k0 = 0; k0 + 1 < n; k0 += PanelWidth) {
        const int width = std::min(PanelWidth, n - k0);
        const int steps = std::min(width, n - 1 - k0);
        if (!FactorPanel(m, p, k0, width, steps)) {
            return false;
        }
        if (k0 + width < n) {
            UpdatePivotRowsRight(m, p, k0, std::make_integer_sequence<int, PanelWidth - 1>());
            for (int i = k0 + width; i < n; ++i) {
                UpdateRight<PanelWidth>(m, p, k0, i);
            }
        }
    }
    return true;
}

// One pivot step at a time, with the column exchange a zero pivot calls for.
QUILLON_VECTOR_CLONES void EliminateSteps(TRows& m, TShiftedElimination& e) {
    for (int k = 0; k + 1 < m.n; ++k) {
        if (m.row[k][k] == 0.0) {
            ExchangeColumns(m, e, k);
        }
        for (int i = k + 1; i < m.n; ++i) {
            EliminateRow(m, k, i);
        }
    }
}

// B := A - x*I in the leading block, with no skipped entries yet.
TRows StartElimination(const TSquareMatrix& A, int n, double x, TShiftedElimination& result) {
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
    return m;
}

} // namespace

void EliminateFast(const TSquareMatrix& A, int n, double x, TShiftedElimination& result) {
    TRows m = StartElimination(A, n, x, result);
    if (!EliminateBlocked(m)) {
        m = StartElimination(A, n, x, result);
        EliminateSteps(m, result);
    }
}

} // namespace quillon
