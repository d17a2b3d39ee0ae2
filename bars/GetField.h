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

// Where the terminal's script puts a bar's fields: date, time, open, high, low, close, volume.
inline constexpr char BarFieldDelimiter = ',';
inline constexpr std::uint8_t DateField = 1;
inline constexpr std::uint8_t TimeField = 2;
inline constexpr std::uint8_t OpenField = 3;
inline constexpr std::uint8_t HighField = 4;
inline constexpr std::uint8_t LowField = 5;
inline constexpr std::uint8_t CloseField = 6;

// The field of a bar line at index, as the file gives it.
inline std::string_view BarField(std::string_view line, std::uint8_t index) {
    return GetField(line, BarFieldDelimiter, index);
}

} // namespace quillon
