#include "tools/ScanTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "base/IntegerText.h"

namespace quillon {

namespace {

constexpr std::array<std::string_view, 14> Columns{
    "file", "symbol", "period", "minutes", "date",          "time",          "close",
    "mark", "held",   "wave1",  "failure", "mark_at_close", "held_at_close", "agree"};
// The columns written without atClose: the first ones.
constexpr std::size_t PlainColumns = 11;

// Numbers, which JSON writes as such.
bool IsNumberColumn(std::string_view column) {
    return column == "minutes" || column == "held" || column == "held_at_close" ||
           column == "agree";
}

std::size_t ColumnCount(bool atClose) {
    return atClose ? Columns.size() : PlainColumns;
}

// A share in % to a tenth, as "53.7", whatever the locale.
std::string PercentText(double percent) {
    std::array<char, 32> text;
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), percent, std::chars_format::fixed, 1);
    return std::string(text.data(), end);
}

// A row's texts by column; nothing where the row has no value.
using TCells = std::array<std::optional<std::string>, Columns.size()>;

TCells CellsOf(const TWatchRow& row) {
    TCells cells;
    cells[0] = row.path;
    if (row.symbolPeriod) {
        cells[1] = row.symbolPeriod->symbol;
        cells[2] = PeriodName(row.symbolPeriod->periodMinutes);
        cells[3] = IntegerToText(row.symbolPeriod->periodMinutes);
    }
    if (!row.failure.empty()) {
        cells[10] = row.failure;
        return cells;
    }
    cells[4] = row.date;
    cells[5] = row.time;
    cells[6] = row.close;
    cells[7] = MarkText(row.mark);
    cells[8] = IntegerToText(row.barsSinceTurn);
    cells[9] = DirectionText(row.wave1);
    if (row.atClose && row.atClose->mark) {
        cells[11] = MarkText(*row.atClose->mark);
        cells[12] = IntegerToText(row.atClose->held);
    }
    if (const std::optional<double> percent =
            row.atClose ? row.atClose->agreement.Percent() : std::nullopt) {
        cells[13] = PercentText(*percent);
    }
    return cells;
}

// Quoted, with its quotes doubled, when it holds a delimiter, a quote or a line end.
void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

// The length of the well-formed UTF-8 sequence that starts at text[at], 0 when there is none:
// the second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 4;
    unsigned char least = 0x80, highest = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = lead == 0xE0 ? 0xA0 : least;
        highest = lead == 0xED ? 0x9F : highest;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        least = lead == 0xF0 ? 0x90 : least;
        highest = lead == 0xF4 ? 0x8F : highest;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < least || byte(at + 1) > highest) {
        return 0;
    }
    for (std::size_t i = at + 2; i < at + length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// A JSON string. File names and the file's own texts are bytes, not always UTF-8: a byte that
// starts no UTF-8 sequence is taken for the Latin-1 character of its value, as the terminal's
// 8-bit text most likely means it, so that the output is always valid JSON.
void AppendJsonString(std::string& out, std::string_view text) {
    constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t length = Utf8Length(text, at);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || length == 0) {
            out += "\\u00";
            out += Hex[c >> 4];
            out += Hex[c & 0xF];
        } else {
            out += text.substr(at, length);
        }
        at += std::max<std::size_t>(length, 1);
    }
    out += '"';
}

void AppendCsvLine(std::string& out, const TWatchRow& row, bool atClose) {
    const TCells cells = CellsOf(row);
    const std::size_t columns = ColumnCount(atClose);
    for (std::size_t i = 0; i < columns; ++i) {
        AppendCsvField(out, cells[i].value_or(""));
        out += i + 1 < columns ? ',' : '\n';
    }
}

void AppendJsonObject(std::string& out, const TWatchRow& row, bool atClose) {
    const TCells cells = CellsOf(row);
    for (std::size_t i = 0; i < ColumnCount(atClose); ++i) {
        out += i == 0 ? "{\"" : ",\"";
        out += Columns[i];
        out += "\":";
        if (!cells[i]) {
            out += "null";
        } else if (IsNumberColumn(Columns[i])) {
            out += *cells[i];
        } else {
            AppendJsonString(out, *cells[i]);
        }
    }
    out += '}';
}

std::string Csv(const std::vector<TWatchRow>& rows, bool atClose) {
    std::string out;
    const std::size_t columns = ColumnCount(atClose);
    for (std::size_t i = 0; i < columns; ++i) {
        out += Columns[i];
        out += i + 1 < columns ? ',' : '\n';
    }
    for (const TWatchRow& row : rows) {
        AppendCsvLine(out, row, atClose);
    }
    return out;
}

std::string Json(const std::vector<TWatchRow>& rows, bool atClose) {
    std::string out = "[";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        out += r == 0 ? "\n" : ",\n";
        AppendJsonObject(out, rows[r], atClose);
    }
    out += rows.empty() ? "]\n" : "\n]\n";
    return out;
}

} // namespace

std::string ScanTable(const std::vector<TWatchRow>& rows, TScanFormat format, bool atClose) {
    return format == TScanFormat::Json ? Json(rows, atClose) : Csv(rows, atClose);
}

std::string ScanRowLine(const TWatchRow& row, TScanFormat format, bool atClose) {
    std::string out;
    if (format == TScanFormat::Json) {
        AppendJsonObject(out, row, atClose);
        out += '\n';
    } else {
        AppendCsvLine(out, row, atClose);
    }
    return out;
}

} // namespace quillon
