#include "EngineTestSupport.h"

namespace quillon::testing {

TSquareMatrix MatrixOf(std::initializer_list<std::initializer_list<double>> rows) {
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

TSeries SeriesOf(const std::vector<double>& values) {
    TSeries series;
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        series[i] = values[i];
    }
    return series;
}

} // namespace quillon::testing
