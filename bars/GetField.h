#pragma once

#include <cstdint>
#include <string_view>

namespace quillon {

// The longest text GetField takes; a longer bar line is not one the terminal writes.
inline constexpr int FieldTextLimit = 255;

// The index-th field of text, counted from 1: the text between the (index-1)-th and the index-th
// delimiter, the last field running to the end of the text. Index 0, or an index past the last
// field, gives the empty string. The result views into text. Fails with the range error when text
// is longer than FieldTextLimit characters.
std::string_view GetField(std::string_view text, char delimiter, std::uint8_t index);

} // namespace quillon
