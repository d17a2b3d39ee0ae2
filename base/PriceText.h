#pragma once

#include <string_view>

namespace quillon {

// A price as the bar file writes it: blanks, an optional sign, digits, optionally the decimal
// separator and more digits, optionally an exponent (E or e, an optional sign, digits), blanks.
// At least one digit must stand before the exponent. The result is the Double nearest to the
// text. A text of another shape fails with PriceConversionError; a magnitude beyond the Double
// range fails with FloatOverflowError, while one too small to represent gives zero.
double TextToPrice(std::string_view text, char decimalSeparator);

// The decimal separator that prices are read with, from the one a locale writes (UTF-8): itself
// where it is one ASCII character, which a bar file can hold as it holds a point, else a point.
char DecimalSeparatorOf(std::string_view localeSeparator);

} // namespace quillon
