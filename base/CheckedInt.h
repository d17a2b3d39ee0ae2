#pragma once

#include <cstdint>

#include "base/Errors.h"

namespace quillon {

// 32-bit signed arithmetic that fails with the overflow error instead of wrapping.

inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) {
    std::int32_t sum;
    if (__builtin_add_overflow(a, b, &sum)) {
        throw IntegerOverflowError();
    }
    return sum;
}

inline std::int32_t CheckedSubtract(std::int32_t a, std::int32_t b) {
    std::int32_t difference;
    if (__builtin_sub_overflow(a, b, &difference)) {
        throw IntegerOverflowError();
    }
    return difference;
}

inline std::int32_t CheckedMultiply(std::int32_t a, std::int32_t b) {
    std::int32_t product;
    if (__builtin_mul_overflow(a, b, &product)) {
        throw IntegerOverflowError();
    }
    return product;
}

} // namespace quillon
