#include <string>

#include "bars/GetField.h"
#include "base/Errors.h"
#include "fuzz/FuzzInput.h"

using namespace quillon;

namespace {

// The field cutting written the long way: take the text before the first delimiter and drop it
// with the delimiter, once per field, until the index is reached or no delimiter is left.
std::string FieldTheLongWay(std::string text, char delimiter, int index) {
    int n = 1;
    std::string field;
    for (std::size_t p = text.size(); n <= index && p != 0;) {
        const std::size_t at = text.find(delimiter);
        p = at == std::string::npos ? 0 : at + 1;
        field = p != 0 ? text.substr(0, p - 1) : text;
        if (p != 0) {
            text.erase(0, p);
            ++n;
        }
    }
    return n < index ? "" : field;
}

} // namespace

// The first byte is the delimiter, the second the field index, the rest the text. A text longer
// than the limit fails with the range error; any other gives the field that cutting step by step
// gives, a piece of the text itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzBytes bytes(data, size);
    const char delimiter = static_cast<char>(bytes.TakeByte());
    const std::uint8_t index = bytes.TakeByte();
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
            field == FieldTheLongWay(std::string(text), delimiter, index));
    return 0;
}
