#include "tools/RunOptions.h"

#include <algorithm>
#include <clocale>
#include <vector>

#include "base/IntegerText.h"
#include "base/Types.h"

namespace quillon {

namespace {

// One FILE, and the numbers: a bar count fits the bar table, a lag fits the covariance matrix and
// the bars loaded.
bool ReadRun(const TCommandLine& line, const std::string (&texts)[3], TRunOptions& options,
             std::string& reason) {
    if (line.operands.size() != 1) {
        reason = line.operands.empty() ? "no FILE given" : "one FILE only";
        return false;
    }
    options.path = line.operands[0];
    TRunNumbers& n = options.numbers;
    if (!ReadIntegerOption("--bars", texts[0], 1, SeriesCapacity, n.N, reason)) {
        return false;
    }
    const int lagHighest = std::min(MatrixOrderCapacity, n.N);
    return ReadIntegerOption("--w1", texts[1], 1, lagHighest, n.W1, reason) &&
           ReadIntegerOption("--w2", texts[2], 1, lagHighest, n.W2, reason);
}

} // namespace

std::optional<int> ReadToolOptions(std::string_view program, std::span<const std::string_view> args,
                                   std::span<const TOption> extra, const std::string& usage,
                                   TRunOptions& options, std::string& out, std::string& err) {
    const TRunNumbers& n = options.numbers;
    std::string texts[3] = {IntegerToText(n.N), IntegerToText(n.W1), IntegerToText(n.W2)};
    std::vector<TOption> table{{"bars", 0, &texts[0]}, {"w1", 0, &texts[1]}, {"w2", 0, &texts[2]}};
    table.insert(table.end(), extra.begin(), extra.end());
    TCommandLine line;
    if (const std::optional<int> status =
            ReadToolCommandLine(program, args, table, usage, line, out, err)) {
        return status;
    }
    std::string reason;
    if (!ReadRun(line, texts, options, reason)) {
        return UsageError(program, reason, usage, err);
    }
    return std::nullopt;
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

char EnvironmentDecimalSeparator() {
    if (std::setlocale(LC_NUMERIC, "") != nullptr) {
        const char* text = std::localeconv()->decimal_point;
        if (text != nullptr && text[0] != '\0' && text[1] == '\0') {
            return text[0];
        }
    }
    return '.';
}

TReadSettings ToolReadSettings(char decimalSeparator) {
    return TReadSettings{decimalSeparator, std::chrono::milliseconds(0), ToolSettleWait};
}

} // namespace quillon
