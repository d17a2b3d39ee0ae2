#include "bars/GetField.h"

#include "base/Errors.h"

namespace quillon {

std::string_view GetField(std::string_view text, char delimiter, std::uint8_t index) {
    if (text.size() > static_cast<std::size_t>(FieldTextLimit)) {
        ThrowRangeCheckError();
    }
    if (index == 0) {
        return {};
    }
    std::size_t start = 0;
    for (int skipped = 1; skipped < index; ++skipped) {
        const std::size_t delimiterAt = text.find(delimiter, start);
        if (delimiterAt == std::string_view::npos) {
            return {};
        }
        start = delimiterAt + 1;
    }
    const std::size_t end = text.find(delimiter, start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

} // namespace quillon
