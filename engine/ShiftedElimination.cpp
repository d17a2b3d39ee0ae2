#include "engine/ShiftedElimination.h"

#include "base/CheckedFloat.h"
#include "engine/FastElimination.h"
#include "engine/FloatFaultFlags.h"

namespace quillon {

namespace {

// A zero pivot is cured, if at all, by the next column; the exchange is not undone here, so the
// later steps work on the matrix as exchanged.
void ExchangeColumns(TShiftedElimination& e, int n, int k) {
    for (int row = 0; row < n; ++row) {
        TCheckedArray<double, MatrixOrderCapacity>& line = e.B[row];
        const double kept = line[k];
        line[k] = line[k + 1];
        line[k + 1] = kept;
    }
    e.exchangedSteps[e.exchangeCount] = k;
    ++e.exchangeCount;
}

void SubtractPivotRow(TShiftedElimination& e, int n, int k, int i) {
    const double f = CheckedQuotient(e.B[i][k], e.B[k][k]);
    for (int j = 0; j < n; ++j) {
        e.B[i][j] = CheckedResult(e.B[i][j] - CheckedResult(f * e.B[k][j]));
    }
}

} // namespace

void EliminateChecked(const TSquareMatrix& A, int n, double x, TShiftedElimination& result) {
    result.B = A;
    result.exchangeCount = 0;
    for (int i = 0; i < n; ++i) {
        result.B[i][i] = CheckedResult(result.B[i][i] - x);
    }
    for (int k = 0; k + 1 < n; ++k) {
        for (int i = k + 1; i < n; ++i) {
            if (result.B[k][k] == 0.0) {
                ExchangeColumns(result, n, k);
            }
            SubtractPivotRow(result, n, k, i);
        }
    }
}

void Eliminate(const TSquareMatrix& A, int n, double x, TShiftedElimination& result) {
    if (n >= 1 && n <= MatrixOrderCapacity) {
        const TFloatFaultWatch watch;
        EliminateFast(A, n, x, result);
        if (!watch.FaultSeen()) {
            return;
        }
    }
    EliminateChecked(A, n, x, result);
}

int CountNegativePivots(const TSquareMatrix& B, int n) {
    int count = 0;
    for (int i = 0; i < n; ++i) {
        if (B[i][i] < 0.0) {
            ++count;
        }
    }
    return count;
}

} // namespace quillon
