#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The user's regional separators, as UTF-8 text (some locales use more than one byte).
struct TNumberSeparators {
    std::string decimal = ".";
    std::string thousands = ",";
};

// Formats a value by a pattern of digit places "0" and "#", a decimal point ".", a thousands
// mark "," and literal characters.
// - The magnitude is rounded, halves away from zero, to as many decimals as the pattern has
//   digit places after its first ".".
// - Integer digits fill the places before the point from the right; any left over are all
//   written at the first digit place. A "0" place without a digit writes 0, a "#" place nothing.
// - Decimal digits fill the places after the point from the left; a "#" place after the last
//   non-zero decimal writes nothing. The decimal separator stands right before the first decimal
//   digit written, so a whole number gets none.
// - With a "," before the point, the thousands separator splits the integer digits in threes.
// - "." and "," are never copied; every other character is, in its place.
// - "-" leads a negative value unless it rounds to zero.
// A pattern without digit places writes no digit at all. Never fails on a finite value.
std::string FormatNumber(double value, std::string_view pattern,
                         const TNumberSeparators& separators);

} // namespace quillon
