#pragma once

#include <cmath>

#include "base/Errors.h"

namespace quillon {

// Floating-point faults are errors here, never infinities or NaNs. The operands are always
// finite (every earlier result went through these checks), so an infinite result is an overflow
// and a NaN an invalid operation; underflow and inexact results stay silent.

inline double CheckedResult(double value) {
    if (std::isnan(value)) {
        throw FloatInvalidOperationError();
    }
    if (std::isinf(value)) {
        throw FloatOverflowError();
    }
    return value;
}

inline double CheckedQuotient(double dividend, double divisor) {
    if (divisor == 0.0) {
        if (dividend == 0.0 || std::isnan(dividend)) {
            throw FloatInvalidOperationError();
        }
        throw FloatDivideByZeroError();
    }
    return CheckedResult(dividend / divisor);
}

inline double CheckedSquareRoot(double value) {
    if (value < 0.0) {
        throw FloatInvalidOperationError();
    }
    return CheckedResult(std::sqrt(value));
}

} // namespace quillon
