#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/IntegerText.h"
#include "tools/BarFileGenerator.h"
#include "tools/ToolCommand.h"
#include "tools/ToolOutput.h"

namespace {

constexpr std::string_view Program = "quillon-make-bars";
constexpr int Largest = std::numeric_limits<int>::max();

std::string Usage(const quillon::TBarFileSettings& defaults) {
    const auto optionLine = [](std::string_view head, int least, const std::string& byDefault) {
        return std::string(head) + quillon::IntegerToText(least) + " to " +
               quillon::IntegerToText(Largest) + " (default " + byDefault + ")\n";
    };
    return R"(Usage: quillon-make-bars [--bars N] [--seed S] [--period MINUTES]

Writes a made-up bar file to standard output: N bars of a random walk of prices, one a line as
the MetaTrader indicator writes them (date,time,open,high,low,close,volume, five digits after the
point, CR LF line ends), oldest first, from 2 January 2024 on, one bar every MINUTES minutes. The
same seed gives the same file.

)" +
           optionLine("  --bars N          bars to write, ", 0,
                      quillon::IntegerToText(defaults.barCount)) +
           optionLine("  --seed S          the random walk's seed, ", 0,
                      std::to_string(defaults.seed)) +
           optionLine("  --period MINUTES  minutes from one bar to the next, ", 1,
                      quillon::IntegerToText(defaults.periodMinutes)) +
           "  --help            print this text\n"
           "  --version         print the program's name and version\n" +
           quillon::ExitStatusUsage(Program,
                                    {.reason = "gives the reason (standard output that cannot be "
                                               "written gives \"cannot write to standard output: "
                                               "\" and why)",
                                     .usageErrors = {},
                                     .more = {}});
}

// settings := the defaults with the options applied. The status the program ends with when it
// goes no further, nothing when it should write the file.
std::optional<int> ReadSettings(std::span<const std::string_view> args,
                                quillon::TBarFileSettings& settings, std::string& out,
                                std::string& err) {
    const std::string usage = Usage(settings);
    std::string texts[3] = {quillon::IntegerToText(settings.barCount),
                            std::to_string(settings.seed),
                            quillon::IntegerToText(settings.periodMinutes)};
    std::string typed[3];
    const quillon::TOption options[] = {{"bars", 0, &texts[0], nullptr, &typed[0]},
                                        {"seed", 0, &texts[1], nullptr, &typed[1]},
                                        {"period", 0, &texts[2], nullptr, &typed[2]}};
    quillon::TCommandLine line;
    if (const std::optional<int> status =
            quillon::ReadToolCommandLine(Program, args, options, usage, line, out, err)) {
        return status;
    }
    std::string reason;
    int seed = 0;
    if (!line.operands.empty()) {
        reason = line.operands[0] + ": not an option, and no FILE is read";
    } else if (quillon::ReadIntegerOption("--bars", texts[0], 0, Largest, settings.barCount, reason,
                                          typed[0]) &&
               quillon::ReadIntegerOption("--seed", texts[1], 0, Largest, seed, reason, typed[1]) &&
               quillon::ReadIntegerOption("--period", texts[2], 1, Largest, settings.periodMinutes,
                                          reason, typed[2])) {
        settings.seed = static_cast<std::uint64_t>(seed);
        return std::nullopt;
    }
    return quillon::UsageError(Program, reason, err);
}

} // namespace

int main(int argc, char** argv) {
    quillon::HoldStandardStreams();
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    std::string out;
    std::string err;
    quillon::TBarFileSettings settings;
    int status = ReadSettings(args, settings, out, err).value_or(-1);
    if (status < 0) {
        status = quillon::ReportFailures(
            Program, [&] { out = quillon::BarFileText(settings); }, err);
    }
    return quillon::FinishTool(Program, status, out, err);
}
