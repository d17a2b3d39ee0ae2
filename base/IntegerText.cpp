#include "base/IntegerText.h"

#include <optional>

#include "base/Errors.h"

namespace quillon {

namespace {

// One more than the largest magnitude: the magnitude of the smallest 32-bit value.
constexpr std::int64_t MagnitudeLimit = std::int64_t{1} << 31;

std::optional<int> DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    if (value < 0 || value >= base) {
        return std::nullopt;
    }
    return value;
}

// Strips a hexadecimal prefix from rest and tells whether there was one.
bool TakeHexPrefix(std::string_view& rest) {
    for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (rest.starts_with(prefix)) {
            rest.remove_prefix(prefix.size());
            return true;
        }
    }
    return false;
}

std::optional<std::int32_t> ParseInteger(std::string_view rest) {
    while (rest.starts_with(' ')) {
        rest.remove_prefix(1);
    }
    bool negative = false;
    if (rest.starts_with('+') || rest.starts_with('-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    const int base = TakeHexPrefix(rest) ? 16 : 10;
    if (rest.empty()) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    for (char c : rest) {
        const std::optional<int> digit = DigitValue(c, base);
        if (!digit) {
            return std::nullopt;
        }
        magnitude = magnitude * base + *digit;
        if (magnitude > MagnitudeLimit) {
            return std::nullopt;
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(-magnitude);
    }
    if (magnitude == MagnitudeLimit) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(magnitude);
}

} // namespace

std::int32_t TextToInteger(std::string_view text) {
    const std::optional<std::int32_t> value = ParseInteger(text);
    if (!value) {
        throw IntegerConversionError(text);
    }
    return *value;
}

std::string IntegerToText(std::int32_t value) {
    return std::to_string(value);
}

std::string GroupedDigits(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return digits;
}

} // namespace quillon
