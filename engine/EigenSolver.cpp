#include "engine/EigenSolver.h"

#include <bit>
#include <cmath>
#include <utility>

#include "base/CheckedFloat.h"
#include "engine/EigenSolverWork.h"
#include "engine/ShiftedElimination.h"

namespace quillon {

namespace {

// The largest row sum of the block, or 0 when no row sum is positive.
double SearchBound(const TSquareMatrix& A, int n) {
    double bound = 0.0;
    for (int row = 0; row < n; ++row) {
        double sum = 0.0;
        for (int column = 0; column < n; ++column) {
            sum = CheckedResult(sum + A[row][column]);
        }
        if (sum > bound) {
            bound = sum;
        }
    }
    return bound;
}

double Midpoint(double lo, double hi) {
    return CheckedQuotient(CheckedResult(lo + hi), 2.0);
}

} // namespace

double TCountMemo::CountBelow(double x) {
    // Bit patterns, so that 0.0 and -0.0 stay apart.
    const auto key = std::bit_cast<std::uint64_t>(x);
    for (int i = 0; i < size_; ++i) {
        if (std::bit_cast<std::uint64_t>(shifts_[i]) == key) {
            return counts_[i];
        }
    }
    Eliminate(A_, n_, x, work_);
    const double count = CountNegativePivots(work_.B, n_);
    if (size_ < Capacity) {
        shifts_[size_] = x;
        counts_[size_] = count;
        ++size_;
    }
    return count;
}

double TCountMemo::Bound() {
    if (!bound_) {
        bound_ = SearchBound(A_, n_);
    }
    return *bound_;
}

double KthEigenvalueFrom(TCountMemo& memo, int k) {
    const double bound = memo.Bound();
    double lo = 0.0;
    double hi = CheckedResult(SearchBoundFactor * bound);
    const double tolerance = CheckedQuotient(bound, ToleranceDivisor);
    for (int step = 0; step < MostBisections && std::fabs(CheckedResult(hi - lo)) > tolerance;
         ++step) {
        const double mid = Midpoint(lo, hi);
        if (memo.CountBelow(mid) < k) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return Midpoint(lo, hi);
}

double CountEigenvaluesBelow(const TSquareMatrix& A, int n, double x) {
    TShiftedElimination elimination;
    Eliminate(A, n, x, elimination);
    return CountNegativePivots(elimination.B, n);
}

double KthEigenvalue(const TSquareMatrix& A, int k, int n) {
    TShiftedElimination work;
    TCountMemo memo(A, n, work);
    return KthEigenvalueFrom(memo, k);
}

void EigenvectorFor(const TSquareMatrix& A, int n, TSeries& V, double lambda) {
    TShiftedElimination work;
    EigenvectorIn(work, A, n, V, lambda);
}

void EigenvectorIn(TShiftedElimination& elimination, const TSquareMatrix& A, int n, TSeries& V,
                   double lambda) {
    Eliminate(A, n, lambda, elimination);
    const TSquareMatrix& B = elimination.B;

    // The last row's pivot vanishes at an exact eigenvalue, so the last entry is fixed at 1 and
    // rows 0..n-2 are solved upwards. The vector is built aside, so that V keeps its entries when
    // a fault ends the solve; an order beyond the matrix's has failed in the elimination already.
    TCheckedArray<double, MatrixOrderCapacity> vector;
    vector[n - 1] = 1.0;
    double sumOfSquares = 1.0;
    for (int i = n - 2; i >= 0; --i) {
        double entry = 0.0;
        for (int j = i + 1; j < n; ++j) {
            entry = CheckedResult(entry - CheckedResult(B[i][j] * vector[j]));
        }
        entry = CheckedQuotient(entry, B[i][i]);
        vector[i] = entry;
        sumOfSquares = CheckedResult(sumOfSquares + CheckedResult(entry * entry));
    }
    const double length = CheckedSquareRoot(sumOfSquares);
    for (int i = 0; i < n; ++i) {
        vector[i] = CheckedQuotient(vector[i], length);
    }

    // The solution belongs to the matrix with its columns exchanged; undoing the exchanges, last
    // first, gives the eigenvector of A itself.
    for (int e = elimination.exchangeCount - 1; e >= 0; --e) {
        const int k = elimination.exchangedSteps[e];
        std::swap(vector[k], vector[k + 1]);
    }
    for (int i = 0; i < n; ++i) {
        V[i] = vector[i];
    }
}

} // namespace quillon
