#pragma once

#include "base/Types.h"
#include "engine/ShiftedElimination.h"

namespace quillon {

// KthEigenvalue and EigenvectorFor for a caller that makes several of them: they eliminate in
// the caller's store instead of filling a fresh one each time.

double KthEigenvalueIn(TShiftedElimination& work, const TSquareMatrix& A, int k, int n);

void EigenvectorIn(TShiftedElimination& work, const TSquareMatrix& A, int n, TSeries& V,
                   double lambda);

} // namespace quillon
