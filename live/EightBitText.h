#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace quillon {

// A bar file is 8-bit text in the terminal's code page, and so is every text that a run takes or
// gives back: the edit boxes' texts, a bar's date, time and close, a failure's words that quote
// either. Latin-1 keeps each byte as one character both ways, so that no byte of a file is lost or
// replaced on its way to the screen. A character beyond Latin-1 typed into a box, which is no digit
// in any case, reaches a run as '?'.
inline QString FromEightBit(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToEightBit(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace quillon
