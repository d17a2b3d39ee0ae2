#pragma once

#include "base/Types.h"
#include "engine/ShiftedElimination.h"

namespace quillon {

// The eigenvalue counts made on one matrix, kept so that the bisections for several ranks share
// the counts of their common start. A count repeated at the same shift is the same count, and
// it met no fault the first time, so taking it from here changes neither a result nor an error.
class TCountMemo {
public:
    TCountMemo(const TSquareMatrix& A, int n)
        : A_(A)
        , n_(n) {}
    TCountMemo(const TCountMemo&) = delete;
    TCountMemo& operator=(const TCountMemo&) = delete;

    const TSquareMatrix& Matrix() const { return A_; }
    int Order() const { return n_; }

    // CountEigenvaluesBelow(A, n, x).
    double CountBelow(double x);

private:
    // Ten bisections of 27 counts each, the most one wave computation makes.
    static constexpr int Capacity = 270;

    const TSquareMatrix& A_;
    int n_;
    TCheckedArray<double, Capacity> shifts_;
    TCheckedArray<double, Capacity> counts_;
    int size_ = 0;
    TShiftedElimination scratch_;
};

// KthEigenvalue(memo.Matrix(), k, memo.Order()), with the counts taken from the memo.
double KthEigenvalueFrom(TCountMemo& memo, int k);

} // namespace quillon
