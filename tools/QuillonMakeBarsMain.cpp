#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/IntegerText.h"
#include "tools/BarFileGenerator.h"
#include "tools/CommandLine.h"

namespace {

constexpr std::string_view Usage =
    R"(Usage: quillon-make-bars [--bars N] [--seed S] [--period MINUTES]

Writes a made-up bar file to standard output: N bars (default 1900) of a random walk of prices,
one a line as the MetaTrader indicator writes them (date,time,open,high,low,close,volume, five
digits after the point, CR LF line ends), oldest first, from 2 January 2024 on, one bar every
MINUTES minutes (default 60). The same seed (default 1) gives the same file.
)";

constexpr int ExitUsage = 2;

void Write(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const std::vector<std::string_view> options{"--bars", "--seed", "--period"};
    const std::optional<quillon::TCommandLine> line = quillon::ParseCommandLine(args, options);
    if (line && line->help) {
        Write(stdout, Usage);
        return 0;
    }
    if (!line || !line->operands.empty()) {
        Write(stderr, Usage);
        return ExitUsage;
    }
    quillon::TBarFileSettings settings;
    try {
        settings.barCount = quillon::TextToInteger(line->ValueOr("--bars", "1900"));
        settings.seed =
            static_cast<std::uint64_t>(quillon::TextToInteger(line->ValueOr("--seed", "1")));
        settings.periodMinutes = quillon::TextToInteger(line->ValueOr("--period", "60"));
    } catch (const std::exception& error) {
        Write(stderr, std::string(error.what()) + "\n");
        return ExitUsage;
    }
    if (settings.barCount < 0 || settings.periodMinutes < 1) {
        Write(stderr, Usage);
        return ExitUsage;
    }
    Write(stdout, quillon::BarFileText(settings));
    return std::fflush(stdout) == 0 ? 0 : 1;
}
