#pragma once

#include "base/CheckedArray.h"

namespace quillon {

// The capacities are the window's fixed tables from its first design; the tools share them, so a
// script sees the same limits as the window's user.
// Capacity of a price series: it sets the limit of 1,000 bars per run.
inline constexpr int SeriesCapacity = 1000;
// Capacity of a square matrix: it sets the largest window length, 101.
inline constexpr int MatrixOrderCapacity = 101;
// How many components one wave computation works out at the most.
inline constexpr int ComponentCapacity = 10;

using TSeries = TCheckedArray<double, SeriesCapacity>;
// First index = row.
using TSquareMatrix =
    TCheckedArray<TCheckedArray<double, MatrixOrderCapacity>, MatrixOrderCapacity>;

} // namespace quillon
