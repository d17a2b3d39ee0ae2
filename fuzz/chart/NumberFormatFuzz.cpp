#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "base/Errors.h"
#include "chart/NumberFormat.h"
#include "fuzz/FuzzInput.h"

namespace {

using quillon::TNumberSeparators;

// Separators the program may meet: the usual ones, a multi-byte one and an empty one, and two
// letters, which no pattern place ever writes, so the output shows where they went.
const TNumberSeparators SeparatorChoices[] = {
    {".", ","}, {",", "."}, {",", "\u00a0"}, {"\u066b", "\u066c"}, {"D", "T"}, {"", ""},
};

bool IsPlainNumberPattern(std::string_view pattern) {
    return pattern.find_first_not_of("0#.,") == std::string_view::npos &&
           pattern.find_first_of("0#") != std::string_view::npos;
}

int DecimalPlaces(std::string_view pattern) {
    const std::size_t point = pattern.find('.');
    if (point == std::string_view::npos) {
        return 0;
    }
    int places = 0;
    for (const char c : pattern.substr(point)) {
        places += (c == '0' || c == '#') ? 1 : 0;
    }
    return places;
}

// A pattern of digit places, points and commas, written with the separators "D" and "T", must
// read back as the value rounded to the pattern's decimals.
void CheckReadsBack(double value, std::string_view pattern, std::string text) {
    std::erase(text, 'T');
    std::replace(text.begin(), text.end(), 'D', '.');
    if (text.empty() || text == "-") {
        text += '0';
    }
    // Read with the wider range of a long double: the 15 digits of a value near the Double's
    // limit may round to a number just beyond it.
    char* end = nullptr;
    const long double readBack = std::strtold(text.c_str(), &end);
    if (*end != '\0') {
        std::abort();
    }
    const long double halfStep = 0.5L * std::pow(10.0L, -DecimalPlaces(pattern));
    const long double slack = std::fabs(static_cast<long double>(value)) * 1e-14L + 1e-300L;
    if (!(std::fabs(readBack - value) <= halfStep * (1 + 1e-12L) + slack)) {
        std::abort();
    }
}

} // namespace

// Any finite value formats by any pattern without failing; a value that is not finite fails with
// a floating-point error.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillon::TFuzzBytes bytes(data, size);
    const double value = bytes.TakeDouble();
    const int choice = bytes.TakeBelow(std::size(SeparatorChoices));
    const TNumberSeparators& separators = SeparatorChoices[choice];
    const std::string_view pattern = bytes.TakeRest();

    if (!std::isfinite(value)) {
        try {
            quillon::FormatNumber(value, pattern, separators);
        } catch (const quillon::FloatInvalidOperationError&) {
            return 0;
        } catch (const quillon::FloatOverflowError&) {
            return 0;
        }
        std::abort();
    }
    const std::string text = quillon::FormatNumber(value, pattern, separators);
    if (separators.decimal == "D" && IsPlainNumberPattern(pattern)) {
        CheckReadsBack(value, pattern, text);
    }
    return 0;
}
