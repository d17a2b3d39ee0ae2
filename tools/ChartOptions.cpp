#include "tools/ChartOptions.h"

#include <charconv>

#include "base/IntegerText.h"
#include "tools/ToolCommand.h"

namespace quillon {

namespace {

std::string SizeText(int width, int height) {
    return IntegerToText(width) + "x" + IntegerToText(height);
}

std::string SizeRangeText() {
    return SizeText(LeastPictureWidth, LeastPictureHeight) + " to " +
           SizeText(LargestPictureSide, LargestPictureSide);
}

// A whole decimal number from least to LargestPictureSide, and nothing else.
bool ReadSide(std::string_view text, int least, int& side) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
    return error == std::errc() && end == text.data() + text.size() && side >= least &&
           side <= LargestPictureSide;
}

bool ReadSize(std::string_view text, TChartOptions& options) {
    const std::size_t cross = text.find('x');
    return cross != std::string_view::npos &&
           ReadSide(text.substr(0, cross), LeastPictureWidth, options.width) &&
           ReadSide(text.substr(cross + 1), LeastPictureHeight, options.height);
}

bool ReadOutput(TChartOptions& options) {
    const std::string_view name = options.output;
    if (name == StandardOutputName || name.ends_with(".png")) {
        options.format = TPictureFormat::Png;
        return true;
    }
    options.format = TPictureFormat::Svg;
    return name.ends_with(".svg");
}

} // namespace

std::string ChartUsage() {
    return R"(Usage: quillon-chart FILE -o OUT.png [--bars N] [--w1 L] [--w2 L] [--size WIDTHxHEIGHT]
                     [--at-close] [--track]

Reads the newest N bars of a bar file (one bar a line: date,time,open,high,low,close,volume),
works out their four waves as the Quillon window does, and draws the window's chart of them into
a picture: the candles, the four wave lines with their up and down spikes, the price labels and
the grid, as the window's chart area of that size shows them. It needs no display.

The waves are worked out over the N bars at once, so the spikes near the newest bar are redrawn as
bars arrive. With --at-close the picture also shows each bar's mark at close, the mark it showed
when it was the newest (see quillon-waves --at-close), as the window's "Marks at close" box shows
them: a small lime triangle under the bar's low for up, a red one over its high for down, and at
the top left a line with the share of bars whose mark at close the chart still shows and the
turns counted at close and in the chart.

With --track the picture is the window's page "Track record" instead: what trading each turn
stop and reverse made, in the file's points and before costs, as a running total against the
file's lines for the chart's turns and the turns at close over the loaded bars, and for the turns
at close of the whole file; under it, where there is room, the three records' figures side by
side.

  -o, --output OUT   the picture: PNG when OUT ends in .png, SVG (lines and text as vectors) when
                     it ends in .svg, PNG on standard output when OUT is -
  --size WxH         the picture's size in pixels, )" +
           SizeRangeText() + " (default " + SizeText(DefaultPictureWidth, DefaultPictureHeight) +
           ")\n  --at-close         also draw the marks at close and the line on them\n"
           "  --track            draw the track record of the turns instead of the chart\n" +
           RunOptionsUsage() + RunReadingUsage() +
           ExitStatusUsage(ChartProgram,
                           {.reason =
                                "gives the reason: a file that cannot be analysed gives the "
                                "reasons that quillon-waves gives; a picture that cannot be "
                                "written gives \"cannot write OUT: \" and the system's reason, "
                                "and no partial file is left; standard output that cannot be "
                                "written gives \"cannot write to standard output: \" and "
                                "why",
                            .usageErrors = {},
                            .more = {}});
}

std::optional<int> ReadChartOptions(std::span<const std::string_view> args, TChartOptions& options,
                                    std::string& out, std::string& err) {
    std::string size;
    std::string sizeTyped;
    const TOption extra[] = {{"output", 'o', &options.output},
                             {"size", 0, &size, nullptr, &sizeTyped},
                             {"at-close", 0, nullptr, &options.atClose},
                             {"track", 0, nullptr, &options.track}};
    const std::string usage = ChartUsage();
    if (const std::optional<int> status =
            ReadToolOptions(ChartProgram, args, extra, usage, options.run, out, err)) {
        return status;
    }
    if (options.output.empty()) {
        return UsageError(ChartProgram, "no -o OUT given", err);
    }
    if (!ReadOutput(options)) {
        return UsageError(ChartProgram, "-o " + options.output + ": not a .png or .svg name, nor -",
                          err);
    }
    if (!size.empty() && !ReadSize(size, options)) {
        return UsageError(ChartProgram, sizeTyped + ": not WIDTHxHEIGHT from " + SizeRangeText(),
                          err);
    }
    return std::nullopt;
}

} // namespace quillon
