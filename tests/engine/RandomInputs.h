#pragma once

#include <random>

#include "base/Types.h"

namespace quillon::testing {

// A symmetric block of order n with entries drawn evenly from [low, high].
TSquareMatrix RandomSymmetric(std::mt19937_64& random, int n, double low, double high);

// A symmetric block of order n with small whole entries, so that zero pivots and column
// exchanges are common.
TSquareMatrix RandomSmallIntegers(std::mt19937_64& random, int n);

// Closing prices of a random walk around 1.1, quoted to five decimals.
TSeries PriceWalk(std::mt19937_64& random, int N);

} // namespace quillon::testing
