#pragma once

#include "engine/ShiftedElimination.h"

namespace quillon {

// The fast elimination of A - x*I, 1 <= n <= 101, in plain arithmetic: eight pivot steps at a
// time, or one at a time with a column exchange once a zero pivot turns up. It updates only the
// columns that a later pivot, factor or back-substitution reads, with the same arithmetic as
// EliminateChecked there; left of the diagonal B holds nothing of use (below the first eight rows,
// what it held before), nor past column n-1 up to a whole four, its scratch. skippedBound bounds
// what EliminateChecked would hold left of the diagonal, so that a fault the checked run would
// meet there raises the overflow flag here. A's entries beyond the order change nothing. Why this
// gives EliminateChecked's results: engine/README.md.
void EliminateFast(const TSquareMatrix& A, int n, double x, TShiftedElimination& result);

} // namespace quillon
