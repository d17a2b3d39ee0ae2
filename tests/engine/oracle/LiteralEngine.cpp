#include "LiteralEngine.h"

#include <algorithm>
#include <memory>

#include "base/CheckedFloat.h"
#include "base/CheckedInt.h"

namespace quillon::oracle {

namespace {

double Sub(double a, double b) {
    return CheckedResult(a - b);
}
double Add(double a, double b) {
    return CheckedResult(a + b);
}
double Mul(double a, double b) {
    return CheckedResult(a * b);
}

struct Elimination {
    TSquareMatrix B;
    TCheckedArray<int, 101> exchanged; // pivot steps with columns k and k+1 exchanged
    int exchanges = 0;
};

void ShiftedElimination(const TSquareMatrix& A, int n, double x, Elimination& e) {
    e.B = A;
    TSquareMatrix& B = e.B;
    for (int i = 0; i <= n - 1; i++) {
        B[i][i] = Sub(B[i][i], x);
    }
    TCheckedArray<double, 101> buffer;
    for (int k = 0; k <= n - 2; k++) {
        for (int i = k + 1; i <= n - 1; i++) {
            if (B[k][k] == 0.0) {
                for (int r = 0; r <= n - 1; r++) {
                    buffer[r] = B[r][k];
                    B[r][k] = B[r][k + 1];
                    B[r][k + 1] = buffer[r];
                }
                e.exchanged[e.exchanges] = k;
                e.exchanges++;
            }
            const double f = CheckedQuotient(B[i][k], B[k][k]);
            for (int j = 0; j <= n - 1; j++) {
                B[i][j] = Sub(B[i][j], Mul(f, B[k][j]));
            }
        }
    }
}

} // namespace

double CountEigenvaluesBelow(const TSquareMatrix& A, int n, double x) {
    Elimination e;
    ShiftedElimination(A, n, x, e);
    double count = 0.0;
    for (int i = 0; i <= n - 1; i++) {
        if (e.B[i][i] < 0.0) {
            count = count + 1.0;
        }
    }
    return count;
}

double KthEigenvalue(const TSquareMatrix& A, int k, int n) {
    double M = 0.0;
    for (int r = 0; r <= n - 1; r++) {
        double s = 0.0;
        for (int c = 0; c <= n - 1; c++) {
            s = Add(s, A[r][c]);
        }
        if (s > M) {
            M = s;
        }
    }
    double lo = 0.0;
    double hi = Mul(10.0, M);
    const double tol = CheckedQuotient(M, 10000000.0);
    while (std::abs(Sub(hi, lo)) > tol) {
        const double mid = CheckedQuotient(Add(lo, hi), 2.0);
        if (CountEigenvaluesBelow(A, n, mid) < k) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return CheckedQuotient(Add(lo, hi), 2.0);
}

void EigenvectorFor(const TSquareMatrix& A, int n, TSeries& V, double lambda) {
    Elimination e;
    ShiftedElimination(A, n, lambda, e);
    const TSquareMatrix& B = e.B;
    TSeries W = V;
    W[n - 1] = 1.0;
    double s = 1.0;
    for (int i = n - 2; i >= 0; i--) {
        W[i] = 0.0;
        for (int j = i + 1; j <= n - 1; j++) {
            W[i] = Sub(W[i], Mul(B[i][j], W[j]));
        }
        W[i] = CheckedQuotient(W[i], B[i][i]);
        s = Add(s, Mul(W[i], W[i]));
    }
    const double root = CheckedSquareRoot(s);
    for (int i = 0; i <= n - 1; i++) {
        W[i] = CheckedQuotient(W[i], root);
    }
    for (int x = e.exchanges - 1; x >= 0; x--) {
        const int k = e.exchanged[x];
        const double t = W[k];
        W[k] = W[k + 1];
        W[k + 1] = t;
    }
    for (int i = 0; i <= n - 1; i++) {
        V[i] = W[i];
    }
}

TComponents WaveComponents(const TSeries& series, int N, int L, int R) {
    using TTrajectory = TCheckedArray<TCheckedArray<double, 101>, 1000>;
    using TElementary = TCheckedArray<TCheckedArray<double, 1000>, 101>;
    // T and Y are 800 kB each; they live on the heap so that the oracle runs on small stacks.
    const auto T = std::make_unique<TTrajectory>();
    const auto Y = std::make_unique<TElementary>();
    const auto S = std::make_unique<TSquareMatrix>();
    TCheckedArray<double, 101> lambda;
    TCheckedArray<TSeries, 10> E;
    TComponents P;

    const int K = CheckedAdd(CheckedSubtract(N, L), 1);
    const int Lstar = std::min(L, K);
    const int Kstar = std::max(L, K);

    for (int i = 0; i <= L - 1; i++) {
        for (int j = 0; j <= L - 1; j++) {
            (*S)[i][j] = 0.0;
            for (int t = 0; t <= K - 1; t++) {
                (*S)[i][j] = Add((*S)[i][j], Mul(series[t + i], series[t + j]));
                (*T)[t][j] = series[t + j];
            }
        }
    }

    for (int m = 0; m <= R - 1; m++) {
        lambda[m] = KthEigenvalue(*S, CheckedSubtract(L, m), L);
        EigenvectorFor(*S, L, E[m], lambda[m]);
    }

    for (int m = 0; m <= R - 1; m++) {
        for (int t = 0; t <= K - 1; t++) {
            double sum = 0.0;
            for (int j = 0; j <= L - 1; j++) {
                sum = Add(sum, Mul((*T)[t][j], E[m][j]));
            }
            P[m][t] = sum;
        }
        for (int i = 0; i <= L - 1; i++) {
            for (int t = 0; t <= K - 1; t++) {
                (*Y)[i][t] = Mul(E[m][i], P[m][t]);
            }
        }
        for (int i = 0; i <= N - 1; i++) {
            int from = 0;
            int to = 0;
            int divisor = 0;
            if (i < Lstar - 1) {
                from = 0;
                to = i;
                divisor = i + 1;
            } else if (i < Kstar - 1) {
                from = 0;
                to = Lstar - 1;
                divisor = Lstar;
            } else {
                from = i - Kstar + 1;
                to = N - Kstar;
                divisor = N - i;
            }
            double sum = 0.0;
            for (int j = from; j <= to; j++) {
                sum = Add(sum, L <= K ? (*Y)[j][i - j] : (*Y)[i - j][j]);
            }
            P[m][i] = CheckedQuotient(sum, divisor);
        }
    }
    return P;
}

TSeries WaveComponent(const TSeries& series, int N, int L, int R, int r) {
    return WaveComponents(series, N, L, R)[r];
}

} // namespace quillon::oracle
