#pragma once

#include <exception>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/Types.h"

namespace quillon::testing {

// A matrix whose leading block holds the given rows.
inline TSquareMatrix MatrixOf(std::initializer_list<std::initializer_list<double>> rows) {
    TSquareMatrix matrix;
    int i = 0;
    for (const auto& row : rows) {
        int j = 0;
        for (double value : row) {
            matrix[i][j++] = value;
        }
        ++i;
    }
    return matrix;
}

// A series whose first entries hold the given values.
inline TSeries SeriesOf(const std::vector<double>& values) {
    TSeries series;
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        series[i] = values[i];
    }
    return series;
}

// The message of the error that call raises, or "" when it returns.
template <typename Call>
std::string ErrorOf(Call&& call) {
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

} // namespace quillon::testing
