#include <string_view>

#include "bars/GetField.h"
#include "base/Errors.h"
#include "fuzz/FuzzInput.h"

using namespace quillon;

namespace {

// The field cutting written the long way: drop one field and its delimiter at a time.
std::string_view FieldTheLongWay(std::string_view text, char delimiter, int index) {
    for (int n = 1; n < index; ++n) {
        const std::size_t at = text.find(delimiter);
        text.remove_prefix(at == std::string_view::npos ? text.size() : at + 1);
    }
    return index == 0 ? "" : text.substr(0, text.find(delimiter));
}

} // namespace

// The first byte is the delimiter, the second the field index, the rest the text. A text longer
// than the limit fails with the range error; any other gives the field that cutting step by step
// gives, a piece of the text itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzBytes bytes(data, size);
    const char delimiter = static_cast<char>(bytes.Take());
    const std::uint8_t index = bytes.Take();
    const std::string_view text = bytes.TakeRest();
    const bool tooLong = text.size() > static_cast<std::size_t>(FieldTextLimit);
    std::string_view field;
    try {
        field = GetField(text, delimiter, index);
    } catch (const RangeCheckError&) {
        Require(tooLong);
        return 0;
    }
    const bool insideText =
        field.empty() ||
        (field.data() >= text.data() && field.data() + field.size() <= text.data() + text.size());
    Require(!tooLong && insideText && field.find(delimiter) == std::string_view::npos &&
            field == FieldTheLongWay(text, delimiter, index));
    return 0;
}
