#pragma once

#include "base/Types.h"

namespace quillon {

// Eigen-solver for a real symmetric matrix held in the leading n x n block of a TSquareMatrix.
// None of the operations changes the caller's data; floating-point faults and index faults raise
// the program's errors, and the first fault in the algorithm's order decides which.

// The number of negative pivots of the elimination of A - x*I, as a whole-number Double: for a
// symmetric A with no zero pivot, the number of eigenvalues below x. 0 for n <= 0.
double CountEigenvaluesBelow(const TSquareMatrix& A, int n, double x);

// Halving 10 * M down to M / 10^7 takes 27 steps for any M in the normal range. With a subnormal M
// the tolerance underflows towards zero and the bracket can stall between two neighbouring
// subnormals, so the step count is also the limit: KthEigenvalue counts at most this many times.
inline constexpr int MostBisections = 27;

// The k-th smallest eigenvalue (k = 1 is the smallest) by bisection on the eigenvalue count
// inside [0, 10 * M], M being the largest row sum (or 0), to within M / 10^7.
double KthEigenvalue(const TSquareMatrix& A, int k, int n);

// V[0..n-1] := the unit vector solving the eliminated system of A - lambda*I, found with the
// entry of the eliminated matrix's last column fixed positive, then put back into the column order
// of A by undoing the elimination's column exchanges, last first. Without exchanges (or without
// one of the last two columns) the last entry is the positive one. V[n..999] stay as they were.
void EigenvectorFor(const TSquareMatrix& A, int n, TSeries& V, double lambda);

} // namespace quillon
