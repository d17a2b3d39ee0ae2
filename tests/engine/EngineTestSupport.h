#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "base/Types.h"

namespace quillon::testing {

// A matrix whose leading block holds the given rows.
TSquareMatrix MatrixOf(std::initializer_list<std::initializer_list<double>> rows);

// A series whose first entries hold the given values.
TSeries SeriesOf(const std::vector<double>& values);

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
