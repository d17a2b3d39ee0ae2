#pragma once

#include "base/Types.h"

// The wave engine written down literally, as a reference for the engine that ships: every
// elimination updates all n columns, every component is worked out, T and Y are formed in full,
// and every index and arithmetic step is checked as it happens.
namespace quillon::oracle {

double CountEigenvaluesBelow(const TSquareMatrix& A, int n, double x);
double KthEigenvalue(const TSquareMatrix& A, int k, int n);
void EigenvectorFor(const TSquareMatrix& A, int n, TSeries& V, double lambda);
TSeries WaveComponent(const TSeries& series, int N, int L, int R, int r);

// Components 0..R-1 of the same computation, all from one run.
using TComponents = TCheckedArray<TSeries, 10>;
TComponents WaveComponents(const TSeries& series, int N, int L, int R);

} // namespace quillon::oracle
