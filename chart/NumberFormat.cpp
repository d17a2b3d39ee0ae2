#include "chart/NumberFormat.h"

#include <cstdio>
#include <cstdlib>

#include "base/CheckedFloat.h"

namespace quillon {

namespace {

// A Double carries 15 significant decimal digits; rounding works on those, so that a value
// written as 1.00005 counts as the half it reads as, not as the binary number just below it.
constexpr int SignificantDigits = 15;

bool IsDigitPlace(char c) {
    return c == '0' || c == '#';
}

struct TPatternShape {
    int integerPlaces = 0;
    int decimalPlaces = 0;
    bool groupsThousands = false;
};

TPatternShape ShapeOf(std::string_view pattern) {
    TPatternShape shape;
    bool afterPoint = false;
    for (const char c : pattern) {
        if (c == '.') {
            afterPoint = true;
        } else if (IsDigitPlace(c)) {
            ++(afterPoint ? shape.decimalPlaces : shape.integerPlaces);
        } else if (c == ',' && !afterPoint) {
            shape.groupsThousands = true;
        }
    }
    return shape;
}

// A non-negative decimal number: the digits with the point after the first `pointPosition` of
// them (a position below zero or past the end stands for zeros in between).
struct TDecimal {
    std::string digits;
    int pointPosition = 0;

    char DigitAt(int index) const {
        if (index < 0 || index >= static_cast<int>(digits.size())) {
            return '0';
        }
        return digits[static_cast<std::size_t>(index)];
    }
    std::string IntegerDigits() const {
        std::string integer;
        for (int i = 0; i < pointPosition; ++i) {
            integer += DigitAt(i);
        }
        return integer;
    }
    // Decimal place 1 is the first after the point.
    char DecimalDigit(int place) const { return DigitAt(pointPosition + place - 1); }
    bool IsZero() const { return digits.find_first_not_of('0') == std::string::npos; }
};

TDecimal SignificantDecimal(double magnitude) {
    TDecimal decimal;
    if (magnitude == 0.0) {
        return decimal;
    }
    // "d.ddddddddddddddde+XXX": the mantissa's digits and the power of ten of the first.
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", SignificantDigits - 1, magnitude);
    const std::string_view written(text);
    const std::size_t exponentMark = written.find('e');
    decimal.digits.push_back(written[0]);
    decimal.digits.append(written.substr(2, exponentMark - 2));
    decimal.pointPosition = std::atoi(text + exponentMark + 1) + 1;
    return decimal;
}

TDecimal RoundedToDecimals(TDecimal decimal, int decimals) {
    const int kept = decimal.pointPosition + decimals;
    if (kept >= static_cast<int>(decimal.digits.size())) {
        return decimal;
    }
    if (kept < 0) {
        return TDecimal{};
    }
    const bool roundsUp = decimal.digits[static_cast<std::size_t>(kept)] >= '5';
    decimal.digits.resize(static_cast<std::size_t>(kept));
    if (!roundsUp) {
        return decimal;
    }
    int index = kept - 1;
    while (index >= 0 && decimal.digits[static_cast<std::size_t>(index)] == '9') {
        decimal.digits[static_cast<std::size_t>(index)] = '0';
        --index;
    }
    if (index >= 0) {
        ++decimal.digits[static_cast<std::size_t>(index)];
    } else {
        decimal.digits.insert(decimal.digits.begin(), '1');
        ++decimal.pointPosition;
    }
    return decimal;
}

// Writes the pattern with the digits of one rounded magnitude.
class TPatternWriter {
public:
    TPatternWriter(const TDecimal& number, const TPatternShape& shape,
                   const TNumberSeparators& separators)
        : number_(number)
        , shape_(shape)
        , separators_(separators)
        , integerDigits_(number.IntegerDigits())
        , integerPlacesLeft_(shape.integerPlaces) {
        for (int place = 1; place <= shape.decimalPlaces; ++place) {
            if (number.DecimalDigit(place) != '0') {
                lastNonZeroDecimal_ = place;
            }
        }
    }

    std::string Write(std::string_view pattern, bool negative) {
        if (negative) {
            text_ += '-';
        }
        bool afterPoint = false;
        for (const char c : pattern) {
            if (c == '.') {
                afterPoint = true;
            } else if (IsDigitPlace(c)) {
                afterPoint ? WriteDecimalPlace(c) : WriteIntegerPlace(c);
            } else if (c != ',') {
                text_ += c;
            }
        }
        return std::move(text_);
    }

private:
    // Positions count integer digits from the right, starting at 0.
    int IntegerDigitCount() const { return static_cast<int>(integerDigits_.size()); }
    char IntegerDigitAt(int position) const {
        return integerDigits_[static_cast<std::size_t>(IntegerDigitCount() - 1 - position)];
    }

    void WriteIntegerDigit(int position, char digit) {
        text_ += digit;
        if (shape_.groupsThousands && position > 0 && position % 3 == 0) {
            text_ += separators_.thousands;
        }
    }

    void WriteDigitsFrom(int lowestPosition) {
        for (int position = IntegerDigitCount() - 1; position >= lowestPosition; --position) {
            WriteIntegerDigit(position, IntegerDigitAt(position));
        }
    }

    void WriteIntegerPlace(char place) {
        const int position = --integerPlacesLeft_;
        if (position == shape_.integerPlaces - 1) {
            WriteDigitsFrom(position + 1);
        }
        if (position < IntegerDigitCount()) {
            WriteIntegerDigit(position, IntegerDigitAt(position));
        } else if (place == '0') {
            WriteIntegerDigit(position, '0');
        }
    }

    void WriteDecimalPlace(char place) {
        const int index = ++decimalPlace_;
        if (index == 1 && shape_.integerPlaces == 0) {
            WriteDigitsFrom(0);
        }
        if (place == '#' && index > lastNonZeroDecimal_) {
            return;
        }
        if (!decimalSeparatorWritten_) {
            text_ += separators_.decimal;
            decimalSeparatorWritten_ = true;
        }
        text_ += number_.DecimalDigit(index);
    }

    const TDecimal& number_;
    const TPatternShape& shape_;
    const TNumberSeparators& separators_;
    const std::string integerDigits_;
    int integerPlacesLeft_;
    int decimalPlace_ = 0;
    int lastNonZeroDecimal_ = 0;
    bool decimalSeparatorWritten_ = false;
    std::string text_;
};

} // namespace

std::string FormatNumber(double value, std::string_view pattern,
                         const TNumberSeparators& separators) {
    CheckedResult(value);
    const TPatternShape shape = ShapeOf(pattern);
    const TDecimal rounded =
        RoundedToDecimals(SignificantDecimal(value < 0 ? -value : value), shape.decimalPlaces);
    return TPatternWriter(rounded, shape, separators)
        .Write(pattern, value < 0 && !rounded.IsZero());
}

} // namespace quillon
