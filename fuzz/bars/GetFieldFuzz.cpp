#include <cstdlib>
#include <string>

#include "bars/GetField.h"
#include "base/Errors.h"
#include "fuzz/FuzzInput.h"
#include "tests/bars/FieldTheLongWay.h"

// The first byte is the delimiter, the second the field index, the rest the text. A text longer
// than the limit fails with the range error; any other gives the field that cutting step by step
// gives, a piece of the text itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quillon::TFuzzBytes bytes(data, size);
    const char delimiter = static_cast<char>(bytes.TakeByte());
    const std::uint8_t index = bytes.TakeByte();
    const std::string_view text = bytes.TakeRest();

    std::string_view field;
    try {
        field = quillon::GetField(text, delimiter, index);
    } catch (const quillon::RangeCheckError&) {
        if (text.size() <= static_cast<std::size_t>(quillon::FieldTextLimit)) {
            std::abort();
        }
        return 0;
    }
    if (text.size() > static_cast<std::size_t>(quillon::FieldTextLimit)) {
        std::abort();
    }
    const bool insideText =
        field.empty() ||
        (field.data() >= text.data() && field.data() + field.size() <= text.data() + text.size());
    if (!insideText || field.find(delimiter) != std::string_view::npos) {
        std::abort();
    }
    if (field != quillon::FieldTheLongWay(std::string(text), delimiter, index)) {
        std::abort();
    }
    return 0;
}
