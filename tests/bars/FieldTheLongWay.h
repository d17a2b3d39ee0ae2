#pragma once

#include <string>

namespace quillon {

// The field cutting written the long way: take the text before the first delimiter and drop it
// with the delimiter, once per field, until the index is reached or no delimiter is left. The
// tests and the fuzz target hold GetField against it.
inline std::string FieldTheLongWay(std::string text, char delimiter, int index) {
    int n = 1;
    std::size_t p = text.size();
    std::string field;
    while (n <= index && p != 0) {
        const std::size_t at = text.find(delimiter);
        p = at == std::string::npos ? 0 : at + 1;
        if (p != 0) {
            field = text.substr(0, p - 1);
            text.erase(0, p);
            ++n;
        } else {
            field = text;
        }
    }
    return n < index ? "" : field;
}

} // namespace quillon
