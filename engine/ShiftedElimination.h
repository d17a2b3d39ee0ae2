#pragma once

#include "base/Types.h"

namespace quillon {

// The matrix B after Gaussian elimination of A - x*I without row exchanges, and the pivot steps
// at which a zero pivot made columns k and k+1 change places.
struct TShiftedElimination {
    TSquareMatrix B;
    TCheckedArray<int, MatrixOrderCapacity> exchangedSteps;
    int exchangeCount = 0;
    // Only in a fast elimination: per row, an upper bound on the entries left of the diagonal,
    // which that elimination does not update.
    TCheckedArray<double, MatrixOrderCapacity> skippedBound;
};

// The elimination with the outcome of EliminateChecked: EliminateFast first, and the checked run
// only when the fast one raised a fault flag (engine/README.md).
void Eliminate(const TSquareMatrix& A, int n, double x, TShiftedElimination& result);

// Eliminates A - x*I of order n into result, every update over all n columns, with every index
// and every floating-point step checked. The first fault in the order of the steps raises its
// error.
void EliminateChecked(const TSquareMatrix& A, int n, double x, TShiftedElimination& result);

// The number of negative diagonal entries of an eliminated matrix of order n.
int CountNegativePivots(const TSquareMatrix& B, int n);

} // namespace quillon
