#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// The integer text of the edit boxes: leading blanks, an optional "+" or "-", then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X"; nothing may follow, and the
// value must fit into 32 signed bits. Anything else fails with IntegerConversionError.
std::int32_t TextToInteger(std::string_view text);

// Plain decimal: "-" for negative values, no "+", no leading zeros.
std::string IntegerToText(std::int32_t value);

// Decimal digits in groups of three parted by commas, as a reader counts lines and points:
// "1,901". The same in every locale.
std::string GroupedDigits(std::uint64_t value);

} // namespace quillon
