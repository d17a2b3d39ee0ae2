#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillon {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Hands out a fuzz input piece by piece; once the bytes run out every piece is zero, so a short
// input still makes a whole case.
class TFuzzBytes {
public:
    TFuzzBytes(const std::uint8_t* data, std::size_t size)
        : data_(data)
        , size_(size) {}

    std::uint8_t TakeByte() {
        if (position_ == size_) {
            return 0;
        }
        return data_[position_++];
    }

    // A whole number from 0 to count - 1.
    int TakeBelow(int count) { return TakeByte() % count; }

    double TakeDouble() {
        std::uint8_t bytes[sizeof(double)] = {};
        for (std::uint8_t& byte : bytes) {
            byte = TakeByte();
        }
        double value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    std::string_view TakeRest() {
        const std::string_view rest = AsText(data_ + position_, size_ - position_);
        position_ = size_;
        return rest;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

} // namespace quillon
