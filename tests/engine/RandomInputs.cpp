#include "RandomInputs.h"

#include <cmath>

namespace quillon::testing {

namespace {

template <typename Draw>
TSquareMatrix SymmetricFrom(int n, Draw&& draw) {
    TSquareMatrix matrix;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= i; ++j) {
            matrix[i][j] = draw();
            matrix[j][i] = matrix[i][j];
        }
    }
    return matrix;
}

} // namespace

TSquareMatrix RandomSymmetric(std::mt19937_64& random, int n, double low, double high) {
    std::uniform_real_distribution<double> entry(low, high);
    return SymmetricFrom(n, [&] { return entry(random); });
}

TSquareMatrix RandomSmallIntegers(std::mt19937_64& random, int n) {
    std::uniform_int_distribution<int> entry(-1, 2);
    return SymmetricFrom(n, [&] { return static_cast<double>(entry(random)); });
}

TSeries PriceWalk(std::mt19937_64& random, int N) {
    std::normal_distribution<double> step(0.0, 0.0004);
    TSeries series;
    double price = 1.1;
    for (int i = 0; i < N; ++i) {
        price += step(random);
        series[i] = std::round(price * 100000.0) / 100000.0;
    }
    return series;
}

} // namespace quillon::testing
