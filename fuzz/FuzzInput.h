#pragma once

#include <cstddef>
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

// Hands out a fuzz input piece by piece; once the bytes run out every piece is zero, so a short
// input still makes a whole case.
class TFuzzBytes {
public:
    TFuzzBytes(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t TakeByte() {
        const std::uint8_t byte = rest_.empty() ? 0 : static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(rest_.empty() ? 0 : 1);
        return byte;
    }

    // A whole number from 0 to count - 1.
    int TakeBelow(int count) { return TakeByte() % count; }

    double TakeDouble() {
        std::uint8_t bytes[sizeof(double)];
        for (std::uint8_t& byte : bytes) {
            byte = TakeByte();
        }
        double value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    std::string_view TakeRest() { return std::exchange(rest_, {}); }

private:
    std::string_view rest_;
};

} // namespace quillon
