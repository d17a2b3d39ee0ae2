#include "base/TimePattern.h"

#include <vector>

namespace quillon {

namespace {

struct TPatternPiece {
    std::string text;
    bool isField = false;
};

bool IsFieldLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// One past the apostrophe that closes the literal opened at start; '' inside stays literal.
std::size_t QuotedLiteralEnd(std::string_view pattern, std::size_t start) {
    std::size_t i = start + 1;
    while (i < pattern.size()) {
        if (pattern[i] == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'' && i != start + 1) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return pattern.size();
}

// Fields are runs of one letter; everything else is literal, a quoted run as one piece.
std::vector<TPatternPiece> SplitPattern(std::string_view pattern) {
    std::vector<TPatternPiece> pieces;
    std::size_t i = 0;
    while (i < pattern.size()) {
        std::size_t end = i + 1;
        const bool isField = IsFieldLetter(pattern[i]);
        if (pattern[i] == '\'') {
            end = QuotedLiteralEnd(pattern, i);
        } else if (isField) {
            while (end < pattern.size() && pattern[end] == pattern[i]) {
                ++end;
            }
        }
        pieces.push_back({std::string(pattern.substr(i, end - i)), isField});
        i = end;
    }
    return pieces;
}

bool IsBlank(const TPatternPiece& piece) {
    return !piece.isField && piece.text == " ";
}

void DropTimeZones(std::vector<TPatternPiece>& pieces) {
    std::size_t i = 0;
    while (i < pieces.size()) {
        if (!pieces[i].isField || pieces[i].text.front() != 't') {
            ++i;
            continue;
        }
        pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i));
        if (i > 0 && IsBlank(pieces[i - 1])) {
            pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i - 1));
            --i;
        } else if (i < pieces.size() && IsBlank(pieces[i])) {
            pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

} // namespace

std::string ClockTimePattern(std::string_view localePattern) {
    std::vector<TPatternPiece> pieces = SplitPattern(localePattern);
    DropTimeZones(pieces);
    std::string result;
    for (const TPatternPiece& piece : pieces) {
        if (piece.isField && (piece.text == "m" || piece.text == "s")) {
            result += piece.text + piece.text;
        } else {
            result += piece.text;
        }
    }
    return result;
}

} // namespace quillon
