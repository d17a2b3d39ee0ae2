#pragma once

#include <optional>

#include "base/Types.h"
#include "engine/EigenSolver.h"
#include "engine/ShiftedElimination.h"

namespace quillon {

// The eigen-solver's operations for a caller that makes many of them on one matrix: they work in
// the caller's elimination storage instead of filling a fresh one each time.

// The bisection starts on [0, 10 * M] and stops once the bracket is no wider than M / 10^7, M being
// the largest row sum. Both are the solver's design, kept exactly so that results match it bit for
// bit. For the lag-covariance matrices of prices every entry is positive, so M is the largest
// absolute row sum, which bounds every eigenvalue (Gershgorin's circles): the bracket holds them
// all with room to spare. The tolerance is relative to M, not to the eigenvalue sought, so that the
// step count is the same for every matrix (27, see MostBisections).
inline constexpr double SearchBoundFactor = 10.0;
inline constexpr double ToleranceDivisor = 10000000.0;

// The eigenvalue counts made on one matrix, kept so that the bisections for several ranks share
// the counts of their common start. A count repeated at the same shift is the same count, and
// it met no fault the first time, so taking it from here changes neither a result nor an error.
class TCountMemo {
public:
    TCountMemo(const TSquareMatrix& A, int n, TShiftedElimination& work)
        : A_(A)
        , n_(n)
        , work_(work) {}
    TCountMemo(const TCountMemo&) = delete;
    TCountMemo& operator=(const TCountMemo&) = delete;

    const TSquareMatrix& Matrix() const { return A_; }
    int Order() const { return n_; }

    // CountEigenvaluesBelow(A, n, x).
    double CountBelow(double x);

    // M, the largest row sum of the matrix (or 0), worked out by the first call; every bisection on
    // the matrix starts from it. A pure function of the matrix, so working it out once raises its
    // error, if any, where the first bisection would.
    double Bound();

private:
    // One bisection per component, the most one wave computation makes.
    static constexpr int Capacity = ComponentCapacity * MostBisections;

    const TSquareMatrix& A_;
    int n_;
    TShiftedElimination& work_;
    TCheckedArray<double, Capacity> shifts_;
    TCheckedArray<double, Capacity> counts_;
    int size_ = 0;
    std::optional<double> bound_;
};

// KthEigenvalue(memo.Matrix(), k, memo.Order()), with the counts taken from the memo.
double KthEigenvalueFrom(TCountMemo& memo, int k);

// EigenvectorFor(A, n, V, lambda), eliminating in work.
void EigenvectorIn(TShiftedElimination& work, const TSquareMatrix& A, int n, TSeries& V,
                   double lambda);

} // namespace quillon
