#include "tools/RunOptions.h"

#include <algorithm>
#include <clocale>
#include <utility>
#include <vector>

#include "bars/RunFromTexts.h"
#include "base/IntegerText.h"
#include "base/PriceText.h"
#include "base/Types.h"

namespace quillon {

namespace {

// A default lag fits the covariance matrix, so that it can fail only by being above the bars.
static_assert(DefaultLag1 >= 1 && DefaultLag1 <= MatrixOrderCapacity);
static_assert(DefaultLag2 >= 1 && DefaultLag2 <= MatrixOrderCapacity);

// The lag of --OPTION, from 1 to the covariance matrix's order and not above the bars: the text
// typed when the option was given, else lag's default, which the reason names as the wave's default
// since the user never typed it.
bool ReadLag(std::string_view option, std::string_view wave, bool given, const std::string& text,
             const std::string& typed, int bars, int& lag, std::string& reason) {
    const int highest = HighestLag(bars);
    if (given) {
        return ReadIntegerOption(option, text, 1, highest, lag, reason, typed);
    }
    if (lag <= highest) {
        return true;
    }
    reason = "the default " + std::string(wave) + " lag " + IntegerToText(lag) + " is above the " +
             IntegerToText(bars) + " bars asked for";
    return false;
}

// The operands as rule allows them, and the numbers of texts (--bars, --w1, --w2, the first three
// options of line): a bar count fits the bar table, a lag fits the covariance matrix and the bars
// loaded. n holds the defaults.
bool ReadRun(const TCommandLine& line, const std::string (&texts)[3], const std::string (&typed)[3],
             const TOperandRule& rule, TRunNumbers& n, std::string& reason) {
    if (line.operands.empty() || (!rule.many && line.operands.size() > 1)) {
        reason = (line.operands.empty() ? "no " : "one ") + std::string(rule.name) +
                 (line.operands.empty() ? " given" : " only");
        return false;
    }
    if (!ReadIntegerOption("--bars", texts[0], 1, SeriesCapacity, n.N, reason, typed[0])) {
        return false;
    }
    return ReadLag("--w1", "W1", line.given[1], texts[1], typed[1], n.N, n.W1, reason) &&
           ReadLag("--w2", "W2", line.given[2], texts[2], typed[2], n.N, n.W2, reason);
}

} // namespace

std::optional<int> ReadRunCommandLine(std::string_view program,
                                      std::span<const std::string_view> args,
                                      std::span<const TOption> extra, const std::string& usage,
                                      const TOperandRule& rule, std::vector<std::string>& operands,
                                      TRunNumbers& numbers, std::string& out, std::string& err) {
    std::string texts[3] = {IntegerToText(numbers.N), IntegerToText(numbers.W1),
                            IntegerToText(numbers.W2)};
    std::string typed[3];
    std::vector<TOption> table{{"bars", 0, &texts[0], nullptr, &typed[0]},
                               {"w1", 0, &texts[1], nullptr, &typed[1]},
                               {"w2", 0, &texts[2], nullptr, &typed[2]}};
    table.insert(table.end(), extra.begin(), extra.end());
    TCommandLine line;
    if (const std::optional<int> status =
            ReadToolCommandLine(program, args, table, usage, line, out, err)) {
        return status;
    }
    std::string reason;
    if (!ReadRun(line, texts, typed, rule, numbers, reason)) {
        return UsageError(program, reason, err);
    }
    operands = std::move(line.operands);
    return std::nullopt;
}

std::optional<int> ReadToolOptions(std::string_view program, std::span<const std::string_view> args,
                                   std::span<const TOption> extra, const std::string& usage,
                                   TRunOptions& options, std::string& out, std::string& err) {
    std::vector<std::string> operands;
    const std::optional<int> status =
        ReadRunCommandLine(program, args, extra, usage, {}, operands, options.numbers, out, err);
    if (!status) {
        options.path = operands.at(0);
    }
    return status;
}

std::string RunOptionsUsage() {
    return "  --bars N   bars to load, 1 to " + IntegerToText(SeriesCapacity) + " (default " +
           IntegerToText(DefaultBarCount) +
           ")\n"
           "  --w1 L     window length of the first wave of each pair, 1 to " +
           IntegerToText(MatrixOrderCapacity) + " and not above N (default " +
           IntegerToText(DefaultLag1) +
           ")\n"
           "  --w2 L     window length of the second wave of each pair, likewise (default " +
           IntegerToText(DefaultLag2) +
           ")\n"
           "  --help     print this text\n"
           "  --version  print the program's name and version\n";
}

std::string RunReadingUsage() {
    return R"(
Prices are read with the decimal separator of the numeric locale that the environment sets
(LC_ALL, LC_NUMERIC, LANG), a point when none is set; a bar file must use the same separator.
A file that another program is writing is waited for up to a second, until it has been left
alone for a tenth of a second.
)";
}

char EnvironmentDecimalSeparator() {
    if (std::setlocale(LC_NUMERIC, "") == nullptr || std::localeconv()->decimal_point == nullptr) {
        return '.';
    }
    return DecimalSeparatorOf(std::localeconv()->decimal_point);
}

} // namespace quillon
