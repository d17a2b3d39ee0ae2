#include "engine/FastElimination.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <utility>

#include "engine/VectorClones.h"

namespace quillon {

namespace {

// Keeps the bound of the skipped entries above what the checked run holds there (engine/README.md).
constexpr double BoundMargin = 1.0 + 0x1p-50;

// The blocked elimination works rows and columns in fours, so that no loop has a remainder to do
// one at a time: past column n-1 each row holds zeros up to a whole four (as far as the row's
// capacity goes), and so do a panel's rows n..n+2 and their bounds. A zero there stays zero through
// every update (0 - f * 0 is +0 for a finite f), and nothing but the padding's own updates reads
// it, so every entry of the matrix gets the updates it gets without the padding.
constexpr int Lanes = 4;
constexpr int PaddedOrder = MatrixOrderCapacity + Lanes - 1;

int RoundUpToLanes(int count) {
    return (count + Lanes - 1) / Lanes * Lanes;
}

// Unchecked access to the rows of an elimination, each row taken once as a checked slice of
// columnEnd entries; every column index below stays under columnEnd.
struct TRows {
    std::array<double*, MatrixOrderCapacity> row;
    // Per row, and zero for the padding rows n..n+2.
    std::array<double, PaddedOrder> bound;
    int n = 0;
    // n rounded up to a whole four, as far as the rows' capacity allows.
    int columnEnd = 0;
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
// the work on them runs over rows and vectorises, the factors of its steps, and its pivot rows.
struct alignas(64) TPanel {
    std::array<std::array<double, PaddedOrder>, PanelWidth> column;
    std::array<std::array<double, PaddedOrder>, PanelWidth> factor;
    // The pivot rows right of the panel, finished, side by side in one block; each is stored here
    // as its own update finishes it.
    std::array<std::array<double, PaddedOrder>, PanelWidth> pivotRight;
};

// Where the blocked elimination takes the entries of a row from before it updates them: the first
// panel from A, subtracting x on the diagonal as it goes (so that B := A - x*I is not a pass of its
// own), every later panel from B.
struct TSource {
    std::array<const double*, MatrixOrderCapacity> row;
    double x = 0.0;
};

// Four entries side by side, one per lane: +, -, * and / work lane by lane with the roundings of
// the scalar operations, and the compiler keeps a quad in one register (two in the plain x86-64
// build). Passed by reference, so that no function takes or returns one by value.
using TQuad = double __attribute__((vector_size(Lanes * sizeof(double))));
using TQuadBits = std::int64_t __attribute__((vector_size(Lanes * sizeof(double))));

QUILLON_INLINE_IN_CLONES void Load(TQuad& quad, const double* from) {
    std::memcpy(&quad, from, sizeof quad);
}

QUILLON_INLINE_IN_CLONES void Store(double* to, const TQuad& quad) {
    std::memcpy(to, &quad, sizeof quad);
}

// bound := Bounded(bound, f, pivotRowBound, residue) lane by lane: std::fabs clears the sign bit,
// and std::max(a, b) is a < b ? b : a.
QUILLON_INLINE_IN_CLONES void BoundQuad(TQuad& bound, const TQuad& f, double pivotRowBound,
                                        const TQuad& residue) {
    constexpr std::int64_t noSign = std::numeric_limits<std::int64_t>::max();
    const TQuad size = reinterpret_cast<TQuad>(reinterpret_cast<TQuadBits>(f) & noSign);
    const TQuad grown = (bound + size * pivotRowBound) * BoundMargin;
    const TQuad left = reinterpret_cast<TQuad>(reinterpret_cast<TQuadBits>(residue) & noSign);
    bound = grown < left ? left : grown;
}

// The panel's own steps on its own columns, for every row below each pivot: a step at a time, in
// one pass over the rows four at a time (into the padding rows), each row's factor, bound and
// panel columns together. Returns false at a zero pivot, which needs a column exchange the blocked
// elimination does not make.
QUILLON_INLINE_IN_CLONES bool FactorPanel(TRows& m, TPanel& p, const double* const* from, int k0,
                                          int width, int steps, bool firstPanel, double x) {
    const int n = m.n;
    for (int i = k0; i < n; ++i) {
        const double* source = from[i] + k0;
        for (int c = 0; c < width; ++c) {
            p.column[c][i] = source[c];
        }
    }
    for (int c = 0; c < width; ++c) {
        if (firstPanel) {
            p.column[c][c] = p.column[c][c] - x;
        }
        for (int pad = 0; pad < Lanes - 1; ++pad) {
            p.column[c][n + pad] = 0.0;
        }
    }
    for (int st = 0; st < steps; ++st) {
        const int s = k0 + st;
        const double pivot = p.column[st][s];
        if (pivot == 0.0) {
            return false;
        }
        const double pivotBound = m.bound[s];
        double across[PanelWidth];
        for (int c = st + 1; c < width; ++c) {
            across[c] = p.column[c][s];
        }
        const int end = s + 1 + RoundUpToLanes(n - s - 1);
        for (int i = s + 1; i < end; i += Lanes) {
            TQuad own;
            Load(own, p.column[st].data() + i);
            const TQuad f = own / pivot;
            TQuad bound;
            Load(bound, m.bound.data() + i);
            BoundQuad(bound, f, pivotBound, own - f * pivot);
            Store(m.bound.data() + i, bound);
            Store(p.factor[st].data() + i, f);
            for (int c = st + 1; c < width; ++c) {
                TQuad entries;
                Load(entries, p.column[c].data() + i);
                Store(p.column[c].data() + i, entries - f * across[c]);
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

// x - f[0] * pivotRight[0][j] - ... - f[Steps-1] * pivotRight[Steps-1][j], one step after the
// other.
template <int Steps>
QUILLON_INLINE_IN_CLONES double Updated(double x, const double* f, const TPanel& p, int j) {
    for (int st = 0; st < Steps; ++st) {
        x = x - f[st] * p.pivotRight[st][j];
    }
    return x;
}

// Applies the panel's first Steps steps, in order, to row i right of the panel, columns
// first..columnEnd-1, the entries taken from A in the first panel and from B after it: every entry
// gets the same updates with the same roundings as step by step. Four columns at a time, the last
// one at a time where the rows' capacity leaves no room to round up to four. A pivot row (Steps <
// PanelWidth) is kept in the panel as well.
template <int Steps, bool FromA>
QUILLON_INLINE_IN_CLONES void UpdateRight(TRows& m, TPanel& p, int first, int i,
                                          const TSource& source) {
    constexpr bool pivotRow = Steps < PanelWidth;
    double f[Steps];
    for (int st = 0; st < Steps; ++st) {
        f[st] = p.factor[st][i];
    }
    double* __restrict target = m.row[i];
    double* __restrict kept = p.pivotRight[pivotRow ? Steps : 0].data();
    const double* __restrict from = FromA ? source.row[i] : nullptr;
    const int quadEnd = first + (m.columnEnd - first) / Lanes * Lanes;
    for (int j = first; j < quadEnd; j += Lanes) {
        for (int lane = 0; lane < Lanes; ++lane) {
            const double x =
                Updated<Steps>(FromA ? from[j + lane] : target[j + lane], f, p, j + lane);
            target[j + lane] = x;
            if (pivotRow) {
                kept[j + lane] = x;
            }
        }
    }
    for (int j = quadEnd; j < m.columnEnd; ++j) {
        target[j] = Updated<Steps>(FromA ? from[j] : target[j], f, p, j);
        if (pivotRow) {
            kept[j] = target[j];
        }
    }
    if (FromA) {
        // The diagonal again from A[i][i] - x, and the padding as zeros: A's padding is the
        // caller's.
        if (i >= first) {
            target[i] = Updated<Steps>(from[i] - source.x, f, p, i);
        }
        for (int j = m.n; j < m.columnEnd; ++j) {
            target[j] = 0.0;
            if (pivotRow) {
                kept[j] = 0.0;
            }
        }
    }
}

// The first pivot row right of the panel: from A in the first panel, with zeros for the padding;
// after it, as B holds it.
template <bool FromA>
QUILLON_INLINE_IN_CLONES void KeepFirstPivotRow(TRows& m, TPanel& p, int k0, int first,
                                                const TSource& source) {
    const double* from = FromA ? source.row[k0] : m.row[k0];
    for (int j = first; j < m.columnEnd; ++j) {
        const double x = j < m.n ? from[j] : 0.0;
        m.row[k0][j] = x;
        p.pivotRight[0][j] = x;
    }
}

// The panel's pivot rows right of the panel, each finished before the rows below it use it.
template <bool FromA, int... Steps>
QUILLON_INLINE_IN_CLONES void UpdatePivotRowsRight(TRows& m, TPanel& p, int k0,
                                                   const TSource& source,
                                                   std::integer_sequence<int, Steps...>) {
    const int first = k0 + PanelWidth;
    KeepFirstPivotRow<FromA>(m, p, k0, first, source);
    (UpdateRight<Steps + 1, FromA>(m, p, first, k0 + Steps + 1, source), ...);
}

// Every row below the panel right of it, with all eight steps in one sweep.
template <bool FromA>
QUILLON_INLINE_IN_CLONES void UpdateBelow(TRows& m, TPanel& p, int k0, const TSource& source) {
    UpdatePivotRowsRight<FromA>(m, p, k0, source,
                                std::make_integer_sequence<int, PanelWidth - 1>());
    for (int i = k0 + PanelWidth; i < m.n; ++i) {
        UpdateRight<PanelWidth, FromA>(m, p, k0 + PanelWidth, i, source);
    }
}

// The same steps as EliminateSteps on B := A - x*I, a panel of eight at a time: the panel's columns
// first, then its pivot rows right of it, then every later row right of it. The first panel reads
// A and writes B; B left of the diagonal is left as it was below the first panel's rows. Gives up
// (false) at a zero pivot.
QUILLON_VECTOR_CLONES bool EliminateBlocked(TRows& m, const TSource& source) {
    const int n = m.n;
    if (n == 1) {
        // No step, so no panel: B is A - x*I alone.
        m.row[0][0] = source.row[0][0] - source.x;
        return true;
    }
    TPanel p;
    for (int k0 = 0; k0 + 1 < n; k0 += PanelWidth) {
        const bool firstPanel = k0 == 0;
        const int width = std::min(PanelWidth, n - k0);
        const int steps = std::min(width, n - 1 - k0);
        if (!FactorPanel(m, p, firstPanel ? source.row.data() : m.row.data(), k0, width, steps,
                         firstPanel, source.x)) {
            return false;
        }
        if (k0 + width < n) {
            if (firstPanel) {
                UpdateBelow<true>(m, p, k0, source);
            } else {
                UpdateBelow<false>(m, p, k0, source);
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

// The rows of B, with no skipped entries yet.
void StartRows(int n, TShiftedElimination& result, TRows& m) {
    m.n = n;
    m.columnEnd = std::min(RoundUpToLanes(n), MatrixOrderCapacity);
    for (int i = 0; i < n; ++i) {
        m.row[i] = result.B[i].Slice(0, m.columnEnd).data();
    }
    for (int i = 0; i < n + Lanes - 1; ++i) {
        m.bound[i] = 0.0;
    }
    result.exchangeCount = 0;
}

// B := A - x*I in the leading block, for the elimination step by step.
void StartSteps(const TSquareMatrix& A, int n, double x, TShiftedElimination& result, TRows& m) {
    StartRows(n, result, m);
    for (int i = 0; i < n; ++i) {
        const std::span<const double> source = A[i].Slice(0, n);
        std::copy(source.begin(), source.end(), m.row[i]);
        m.row[i][i] = m.row[i][i] - x;
    }
}

} // namespace

void EliminateFast(const TSquareMatrix& A, int n, double x, TShiftedElimination& result) {
    TRows m;
    StartRows(n, result, m);
    TSource source;
    for (int i = 0; i < n; ++i) {
        source.row[i] = A[i].Slice(0, m.columnEnd).data();
    }
    source.x = x;
    if (!EliminateBlocked(m, source)) {
        StartSteps(A, n, x, result, m);
        EliminateSteps(m, result);
    }
    std::copy(m.bound.begin(), m.bound.begin() + n, result.skippedBound.Slice(0, n).begin());
}

} // namespace quillon
