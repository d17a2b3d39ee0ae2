#include "tests/hardening/BadInputFiles.h"

namespace quillon {

namespace {

constexpr int CloseField = 6;

// Where field `field` (counted from 1) starts and how long it is.
std::pair<std::size_t, std::size_t> FieldSpan(const std::string& line, int field) {
    std::size_t start = 0;
    for (int f = 1; f < field; ++f) {
        start = line.find(',', start) + 1;
    }
    const std::size_t end = line.find(',', start);
    return {start, (end == std::string::npos ? line.size() : end) - start};
}

} // namespace

std::vector<TGeneratedBar> StandardBars() {
    return GenerateBars(TBarFileSettings{});
}

std::vector<std::string> BarLines(const std::vector<TGeneratedBar>& bars) {
    std::vector<std::string> lines;
    for (const TGeneratedBar& bar : bars) {
        lines.push_back(BarLineText(bar));
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}

std::string WithClose(const std::string& line, const std::string& closeText) {
    const auto [start, length] = FieldSpan(line, CloseField);
    std::string changed = line;
    changed.replace(start, length, closeText);
    return changed;
}

std::string CloseText(const std::string& line) {
    const auto [start, length] = FieldSpan(line, CloseField);
    return line.substr(start, length);
}

std::string Utf16LittleEndian(const std::string& text) {
    std::string wide;
    for (const char c : text) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

} // namespace quillon
