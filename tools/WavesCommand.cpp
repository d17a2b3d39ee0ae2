#include "tools/WavesCommand.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <exception>

#include "bars/LoadNewestBars.h"
#include "bars/ReadBarLines.h"
#include "bars/RunWaves.h"
#include "base/Errors.h"
#include "base/IntegerText.h"
#include "tools/CommandLine.h"

namespace quillon {

namespace {

constexpr std::string_view Usage =
    R"(Usage: quillon-waves FILE [--bars N] [--w1 L] [--w2 L]

Reads the newest N bars of a bar file (one bar a line: date,time,open,high,low,close,volume),
works out their four waves as the Quillon window does, and writes one CSV row per bar to
standard output, oldest bar first:

  row,line,open,high,low,close,close_wave1,close_wave2,open_wave1,open_wave2,mark

line is the bar's line index in the file, counted from 0; mark is "up" or "down" where both
close waves rose, or both fell, over the step before the row, and empty otherwise and for rows
0 to 2. Numbers are written in their shortest form that reads back to the same double.

  --bars N   bars to load, 1000 at most (default 500)
  --w1 L     window length of the first wave of each pair, 1 to 101 and not above N (default 39)
  --w2 L     window length of the second wave of each pair (default 16)
  --help     print this text

Prices are read with the decimal separator of the numeric locale that the environment sets
(LC_ALL, LC_NUMERIC, LANG), a point when none is set; the file must use the same separator.

Exit status: 0 on success; 1 when the file cannot be analysed, with the reason on standard
error (a missing file or one with fewer lines than N gives "Range check error"); 2 on a usage
error.
)";

constexpr std::string_view CsvHeader =
    "row,line,open,high,low,close,close_wave1,close_wave2,open_wave1,open_wave2,mark\n";

constexpr std::array<std::string_view, 3> ValueOptions{"--bars", "--w1", "--w2"};

struct TWavesOptions {
    std::string path;
    std::string barCountText;
    std::string lag1Text;
    std::string lag2Text;
};

void AppendNumber(std::string& out, double value) {
    std::array<char, 32> text;
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
    out.append(text.data(), end);
}

std::string_view MarkText(TTick tick) {
    switch (tick) {
    case TTick::Up:
        return "up";
    case TTick::Down:
        return "down";
    case TTick::None:
        break;
    }
    return "";
}

void AppendRow(std::string& out, int row, std::int64_t line, const TBarTable& bars,
               const TRunWaves& waves) {
    out += std::to_string(row);
    out += ',';
    out += std::to_string(line);
    for (const TSeries* column :
         {&bars.BarOpen, &bars.BarHigh, &bars.BarLow, &bars.BarClose, &waves.CloseWave1(),
          &waves.CloseWave2(), &waves.OpenWave1(), &waves.OpenWave2()}) {
        out += ',';
        AppendNumber(out, (*column)[row]);
    }
    out += ',';
    if (row >= FirstTickRow) {
        out += MarkText(TickAt(waves, row));
    }
    out += '\n';
}

// The window's run without the chart: the same reader, conversions and waves, in the same order.
// Throws what the run would swallow.
std::string WavesCsv(const TWavesOptions& options, char decimalSeparator) {
    const int N = TextToInteger(options.barCountText);
    const TReadSettings read{decimalSeparator, std::chrono::milliseconds(0)};
    TBarLines barLines;
    std::int64_t firstFileLine = 0;
    const int lineCount = ReadBarLines(options.path, read, barLines, firstFileLine);
    TBarTable bars;
    LoadNewestBars(N, lineCount, barLines, decimalSeparator, bars, [](int, double) {});
    const int W1 = TextToInteger(options.lag1Text);
    const int W2 = TextToInteger(options.lag2Text);
    TRunWaves waves;
    WorkOutWaves(bars, N, W1, W2, waves);

    std::string csv(CsvHeader);
    for (int row = 0; row < N; ++row) {
        AppendRow(csv, row, firstFileLine + lineCount - N + row, bars, waves);
    }
    return csv;
}

} // namespace

std::string_view WavesUsage() {
    return Usage;
}

int RunWavesCommand(std::span<const std::string_view> args, char decimalSeparator, std::string& out,
                    std::string& err) {
    const std::optional<TCommandLine> line = ParseCommandLine(args, ValueOptions);
    if (line && line->help) {
        out += Usage;
        return ExitSuccess;
    }
    if (!line || line->operands.size() != 1) {
        err += Usage;
        return ExitUsage;
    }
    const TWavesOptions options{line->operands.front(), line->ValueOr("--bars", "500"),
                                line->ValueOr("--w1", "39"), line->ValueOr("--w2", "16")};
    try {
        out += WavesCsv(options, decimalSeparator);
        return ExitSuccess;
    } catch (const QuillonError& error) {
        err += error.Message();
        err += '\n';
        return ExitFailure;
    } catch (const std::exception& error) {
        err += error.what();
        err += '\n';
        return ExitFailure;
    }
}

} // namespace quillon
