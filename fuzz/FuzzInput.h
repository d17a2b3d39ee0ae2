#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

namespace quillon {

// A property every case must keep: a case that breaks it stops the run for the fuzzer to keep.
inline void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

// Hands out a fuzz input piece by piece; bytes past its end read as zero, so a short input still
// makes a whole case.
struct TFuzzBytes {
    TFuzzBytes(const std::uint8_t* data, std::size_t size)
        : rest(reinterpret_cast<const char*>(data), size) {}

    template <typename T = std::uint8_t>
    T Take() {
        T value{};
        const std::size_t taken = std::min(sizeof value, rest.size());
        std::memcpy(&value, rest.data(), taken);
        rest.remove_prefix(taken);
        return value;
    }
    // A whole number from 0 to count - 1.
    int TakeBelow(int count) { return Take() % count; }
    std::string_view TakeRest() { return std::exchange(rest, {}); }

    std::string_view rest;
};

} // namespace quillon
