#include <getopt.h>

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "base/IntegerText.h"
#include "tools/BarFileGenerator.h"

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
    enum : int { BarsCode = 256, SeedCode, PeriodCode, HelpCode };
    const option longOptions[] = {{"bars", required_argument, nullptr, BarsCode},
                                  {"seed", required_argument, nullptr, SeedCode},
                                  {"period", required_argument, nullptr, PeriodCode},
                                  {"help", no_argument, nullptr, HelpCode},
                                  {nullptr, 0, nullptr, 0}};
    std::string texts[3] = {"1900", "1", "60"}; // bars, seed, period
    opterr = 0;
    for (int code; (code = getopt_long(argc, argv, "", longOptions, nullptr)) != -1;) {
        if (code == HelpCode) {
            Write(stdout, Usage);
            return 0;
        }
        if (code < BarsCode || code > PeriodCode) {
            Write(stderr, Usage);
            return ExitUsage;
        }
        texts[code - BarsCode] = optarg;
    }
    if (optind != argc) {
        Write(stderr, Usage);
        return ExitUsage;
    }
    quillon::TBarFileSettings settings;
    try {
        settings.barCount = quillon::TextToInteger(texts[0]);
        settings.seed = static_cast<std::uint64_t>(quillon::TextToInteger(texts[1]));
        settings.periodMinutes = quillon::TextToInteger(texts[2]);
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
