#pragma once

#include <array>
#include <span>

#include "base/Errors.h"

namespace quillon {

// Fails with the range error unless 0 <= index < size.
inline int CheckedIndex(int index, int size) {
    if (index < 0 || index >= size) {
        ThrowRangeCheckError();
    }
    return index;
}

// A fixed-capacity array whose every index is checked. Hot loops take a checked slice once and
// then walk it, so the check costs nothing per element.
template <typename T, int Size>
class TCheckedArray {
public:
    static constexpr int Capacity = Size;

    T& operator[](int index) { return items_[CheckedIndex(index, Size)]; }
    const T& operator[](int index) const { return items_[CheckedIndex(index, Size)]; }

    // Elements first .. first + count - 1; fails with the range error unless all exist.
    std::span<T> Slice(int first, int count) {
        CheckSlice(first, count);
        return std::span<T>(items_.data() + first, static_cast<std::size_t>(count));
    }
    std::span<const T> Slice(int first, int count) const {
        CheckSlice(first, count);
        return std::span<const T>(items_.data() + first, static_cast<std::size_t>(count));
    }

    bool operator==(const TCheckedArray&) const = default;

private:
    static void CheckSlice(int first, int count) {
        if (count < 0 || first < 0 || first > Size - count) {
            ThrowRangeCheckError();
        }
    }

    std::array<T, Size> items_{};
};

} // namespace quillon
