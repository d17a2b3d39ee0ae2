#include "tools/ScanTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "bars/RecordText.h"
#include "base/IntegerText.h"
#include "tools/CsvField.h"

namespace quillon {

namespace {

// One column of a row: its name, its text (nothing where the row has no value), and whether JSON
// writes it as a number.
struct TCell {
    std::string name;
    std::optional<std::string> text;
    bool number = false;
};

// A share in % to a tenth, as "53.7", whatever the locale.
std::string PercentText(double percent) {
    std::array<char, 32> text;
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), percent, std::chars_format::fixed, 1);
    return std::string(text.data(), end);
}

// make()'s text where the row has it.
template <typename Make>
std::optional<std::string> If(bool has, const Make& make) {
    return has ? std::optional<std::string>(make()) : std::nullopt;
}

// The columns of one record's summary, named with the record's name after the figure's.
void AddRecordCells(std::vector<TCell>& cells, TRecordKind kind, const TRecordSummary* summary) {
    const std::string name(RecordKindName(kind));
    const bool has = summary != nullptr;
    const bool closed = has && summary->winRate;
    cells.push_back(
        {"trades_" + name, If(has, [&] { return IntegerToText(summary->trades); }), true});
    cells.push_back({"won_" + name, If(has, [&] { return IntegerToText(summary->won); }), true});
    cells.push_back({"win_low_" + name,
                     If(closed, [&] { return PercentText(100.0 * summary->winRate->low); }), true});
    cells.push_back({"win_high_" + name,
                     If(closed, [&] { return PercentText(100.0 * summary->winRate->high); }),
                     true});
    cells.push_back(
        {"points_" + name, If(has, [&] { return std::to_string(summary->points); }), true});
    // Empty for "no loss", which is no number.
    cells.push_back(
        {"profit_factor_" + name,
         If(has && summary->profitFactor, [&] { return ProfitFactorText(summary->profitFactor); }),
         true});
    cells.push_back(
        {"drawdown_" + name, If(has, [&] { return std::to_string(summary->drawdown); }), true});
}

// A row's cells in the order of the columns; an empty row gives the header's names.
std::vector<TCell> CellsOf(const TWatchRow& row, const TScanColumns& columns) {
    const std::optional<TSymbolPeriod>& named = row.symbolPeriod;
    const bool ran = row.failure.empty();
    std::vector<TCell> cells{
        {"file", row.path},
        {"symbol", If(named.has_value(), [&] { return named->symbol; })},
        {"period", If(named.has_value(), [&] { return PeriodName(named->periodMinutes); })},
        {"minutes", If(named.has_value(), [&] { return IntegerToText(named->periodMinutes); }),
         true},
        {"date", If(ran, [&] { return row.date; })},
        {"time", If(ran, [&] { return row.time; })},
        {"close", If(ran, [&] { return row.close; })},
        {"mark", If(ran, [&] { return std::string(MarkText(row.mark)); })},
        {"held", If(ran, [&] { return IntegerToText(row.barsSinceTurn); }), true},
        {"wave1", If(ran, [&] { return std::string(DirectionText(row.wave1)); })},
        {"failure", If(!ran, [&] { return row.failure; })}};
    if (columns.atClose) {
        const TAtCloseSummary* atClose = ran && row.atClose ? &*row.atClose : nullptr;
        const bool marked = atClose != nullptr && atClose->mark;
        const std::optional<double> percent =
            atClose != nullptr ? atClose->agreement.Percent() : std::nullopt;
        cells.push_back(
            {"mark_at_close", If(marked, [&] { return std::string(MarkText(*atClose->mark)); })});
        cells.push_back(
            {"held_at_close", If(marked, [&] { return IntegerToText(atClose->held); }), true});
        cells.push_back(
            {"agree", If(percent.has_value(), [&] { return PercentText(*percent); }), true});
    }
    if (columns.track) {
        const TTrackSummaries* track = ran && row.track ? &*row.track : nullptr;
        AddRecordCells(cells, TRecordKind::Chart, track ? &track->chart : nullptr);
        AddRecordCells(cells, TRecordKind::AtClose, track ? &track->atClose : nullptr);
        if (columns.wholeFile) {
            AddRecordCells(cells, TRecordKind::WholeFile,
                           track && track->wholeFile ? &*track->wholeFile : nullptr);
        }
    }
    return cells;
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

void AppendCsvLine(std::string& out, const TWatchRow& row, const TScanColumns& columns) {
    const std::vector<TCell> cells = CellsOf(row, columns);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        AppendCsvField(out, cells[i].text.value_or(""));
        out += i + 1 < cells.size() ? ',' : '\n';
    }
}

void AppendJsonObject(std::string& out, const TWatchRow& row, const TScanColumns& columns) {
    const std::vector<TCell> cells = CellsOf(row, columns);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        out += i == 0 ? "{\"" : ",\"";
        out += cells[i].name;
        out += "\":";
        if (!cells[i].text) {
            out += "null";
        } else if (cells[i].number) {
            out += *cells[i].text;
        } else {
            AppendJsonString(out, *cells[i].text);
        }
    }
    out += '}';
}

std::string Csv(const std::vector<TWatchRow>& rows, const TScanColumns& columns) {
    std::string out;
    const std::vector<TCell> header = CellsOf(TWatchRow(), columns);
    for (std::size_t i = 0; i < header.size(); ++i) {
        out += header[i].name;
        out += i + 1 < header.size() ? ',' : '\n';
    }
    for (const TWatchRow& row : rows) {
        AppendCsvLine(out, row, columns);
    }
    return out;
}

std::string Json(const std::vector<TWatchRow>& rows, const TScanColumns& columns) {
    std::string out = "[";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        out += r == 0 ? "\n" : ",\n";
        AppendJsonObject(out, rows[r], columns);
    }
    out += rows.empty() ? "]\n" : "\n]\n";
    return out;
}

} // namespace

std::string ScanTable(const std::vector<TWatchRow>& rows, TScanFormat format,
                      const TScanColumns& columns) {
    return format == TScanFormat::Json ? Json(rows, columns) : Csv(rows, columns);
}

std::string ScanRowLine(const TWatchRow& row, TScanFormat format, const TScanColumns& columns) {
    std::string out;
    if (format == TScanFormat::Json) {
        AppendJsonObject(out, row, columns);
        out += '\n';
    } else {
        AppendCsvLine(out, row, columns);
    }
    return out;
}

} // namespace quillon
