#include <algorithm>
#include <string>
#include <string_view>

#include "bars/GetField.h"
#include "base/Errors.h"
#include "fuzz/FuzzInput.h"

using namespace quillon;

// The first byte is the delimiter, the second an index, the rest the text. A text longer than the
// limit fails with the range error. A shorter one with k - 1 delimiters has k fields: fields 1..k
// hold no delimiter and view the text where, joined with the delimiter, they give it back; field 0
// and those past k are empty. An index is one byte, so of 256 fields the last is never asked for.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzBytes bytes(data, size);
    const char delimiter = static_cast<char>(bytes.Take());
    const std::uint8_t index = bytes.Take();
    const std::string_view text = bytes.TakeRest();
    if (text.size() > static_cast<std::size_t>(FieldTextLimit)) {
        try {
            GetField(text, delimiter, index);
        } catch (const RangeCheckError&) {
            return 0;
        }
        Require(false);
    }
    const int k = static_cast<int>(std::ranges::count(text, delimiter)) + 1;
    std::string joined;
    Require(GetField(text, delimiter, 0).empty());
    for (int i = 1; i <= 255; ++i) {
        const std::string_view field = GetField(text, delimiter, static_cast<std::uint8_t>(i));
        if (i > k) {
            Require(field.empty());
            continue;
        }
        joined.append(i > 1 ? 1 : 0, delimiter);
        Require(field.data() == text.data() + joined.size() &&
                field.find(delimiter) == std::string_view::npos);
        joined.append(field);
    }
    Require(joined.append(k > 255 ? 1 : 0, delimiter) == text);
    return 0;
}
