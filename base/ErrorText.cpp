#include "base/ErrorText.h"

#include <new>

#include "base/Errors.h"

namespace quillon {

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() &&
        static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
        text += '.';
    }
    return text;
}

std::string FailureText(const std::exception& error) {
    if (const auto* own = dynamic_cast<const QuillonError*>(&error)) {
        return own->Message();
    }
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return "out of memory";
    }
    return error.what();
}

} // namespace quillon
