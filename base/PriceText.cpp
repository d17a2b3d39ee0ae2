#include "base/PriceText.h"

#include <charconv>
#include <cmath>
#include <string>

#include "base/Errors.h"

namespace quillon {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Moves past a run of digits and returns how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    return at - start;
}

void SkipBlanks(std::string_view text, std::size_t& at) {
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
}

// Checks the shape and rewrites the number with a point for the separator, the form that
// std::from_chars reads. Returns false when the text is not a price.
bool NormalisePrice(std::string_view text, char decimalSeparator, std::string& number,
                    bool& negativeExponent) {
    std::size_t at = 0;
    SkipBlanks(text, at);
    const std::size_t start = at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        ++at;
    }
    std::size_t digits = SkipDigits(text, at);
    std::size_t separatorAt = std::string_view::npos;
    if (at < text.size() && text[at] == decimalSeparator) {
        separatorAt = at++;
        digits += SkipDigits(text, at);
    }
    if (digits == 0) {
        return false;
    }
    negativeExponent = false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            negativeExponent = text[at] == '-';
            ++at;
        }
        if (SkipDigits(text, at) == 0) {
            return false;
        }
    }
    const std::size_t end = at;
    SkipBlanks(text, at);
    if (at != text.size()) {
        return false;
    }
    // from_chars takes no leading "+".
    const std::size_t first = text[start] == '+' ? start + 1 : start;
    number.assign(text.substr(first, end - first));
    if (separatorAt != std::string_view::npos) {
        number[separatorAt - first] = '.';
    }
    return true;
}

// Tells an overflow from an underflow for a number that a Double cannot hold. The wider type
// settles nearly every case; beyond its range too, the exponent's sign decides.
bool TooLargeForDouble(const std::string& number, bool negativeExponent) {
    long double wide = 0.0L;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), wide);
    if (error == std::errc()) {
        return std::fabs(wide) > 1.0L;
    }
    return !negativeExponent;
}

} // namespace

double TextToPrice(std::string_view text, char decimalSeparator) {
    std::string number;
    bool negativeExponent = false;
    if (!NormalisePrice(text, decimalSeparator, number, negativeExponent)) {
        throw PriceConversionError(text);
    }
    double value = 0.0;
    const char* const last = number.data() + number.size();
    const auto [end, error] = std::from_chars(number.data(), last, value);
    if (error == std::errc::result_out_of_range) {
        if (TooLargeForDouble(number, negativeExponent)) {
            throw FloatOverflowError();
        }
        return number.front() == '-' ? -0.0 : 0.0;
    }
    if (error != std::errc() || end != last) {
        throw PriceConversionError(text);
    }
    return value;
}

char DecimalSeparatorOf(std::string_view localeSeparator) {
    if (localeSeparator.size() != 1 || static_cast<unsigned char>(localeSeparator[0]) > 0x7F) {
        return '.';
    }
    return localeSeparator[0];
}

} // namespace quillon
