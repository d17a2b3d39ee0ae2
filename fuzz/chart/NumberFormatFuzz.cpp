#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "base/Errors.h"
#include "chart/NumberFormat.h"
#include "fuzz/FuzzInput.h"

using namespace quillon;

// Separators the program may meet: the usual ones, a multi-byte one and an empty one, and two
// letters, which no pattern place ever writes, so the output shows where they went.
const TNumberSeparators SeparatorChoices[] = {{".", ","},           {",", "."}, {",", "\u00a0"},
                                              {"\u066b", "\u066c"}, {"D", "T"}, {"", ""}};

// Any finite value formats by any pattern without failing; NaN fails with the invalid operation
// error, an infinity with the overflow error.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzBytes bytes(data, size);
    const double value = bytes.Take<double>();
    const TNumberSeparators& separators =
        SeparatorChoices[bytes.TakeBelow(std::size(SeparatorChoices))];
    const std::string_view pattern = bytes.TakeRest();
    try {
        std::string text = FormatNumber(value, pattern, separators);
        Require(std::isfinite(value));
        if (separators.decimal == "D" &&
            pattern.find_first_not_of("0#.,") == std::string_view::npos &&
            pattern.find_first_of("0#") != std::string_view::npos) {
            // Written with the separators "D" and "T", the text reads back as the value rounded to
            // the pattern's decimals. Read with the wider range of a long double: the 15 digits of
            // a value near the Double's limit may round to a number just beyond it.
            const std::size_t point = std::min(pattern.find('.'), pattern.size());
            const auto places = std::count_if(pattern.begin() + point, pattern.end(),
                                              [](char c) { return c == '0' || c == '#'; });
            std::erase(text, 'T');
            std::replace(text.begin(), text.end(), 'D', '.');
            char* end = nullptr;
            const long double readBack = std::strtold(text.c_str(), &end);
            const long double halfStep = 0.5L * std::pow(10.0L, -places);
            const long double slack = std::fabs(static_cast<long double>(value)) * 1e-14L + 1e-300L;
            Require(*end == '\0' && std::fabs(readBack - value) <= halfStep * (1 + 1e-12L) + slack);
        }
    } catch (const FloatInvalidOperationError&) {
        Require(std::isnan(value));
    } catch (const FloatOverflowError&) {
        Require(std::isinf(value));
    }
    return 0;
}
