#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/RunOptions.h"

namespace quillon {

inline constexpr std::string_view ChartProgram = "quillon-chart";

enum class TPictureFormat { Png, Svg };

// The picture's size in pixels: the default and the bounds of --size.
inline constexpr int DefaultPictureWidth = 800;
inline constexpr int DefaultPictureHeight = 600;
inline constexpr int LeastPictureWidth = 200;
inline constexpr int LeastPictureHeight = 150;
inline constexpr int LargestPictureSide = 8000;

// What "-o" names for standard output.
inline constexpr std::string_view StandardOutputName = "-";

struct TChartOptions {
    TRunOptions run;
    std::string output;
    TPictureFormat format = TPictureFormat::Png;
    int width = DefaultPictureWidth;
    int height = DefaultPictureHeight;
    // Also the marks at close and the line on their agreement, as the window's "Marks at close".
    bool atClose = false;
    // The track record's picture, the window's page "Track record", instead of the candles.
    bool track = false;
};

// Reads the arguments of quillon-chart (without the program's name): the run's options, -o OUT
// (which must end in .png or .svg, or be "-" for a PNG on standard output), --size WxH,
// --at-close and --track. The
// status the program ends with when it goes no further (a usage error, with its reason on err;
// --help, with the usage on out; --version); nothing when it should make the picture.
std::optional<int> ReadChartOptions(std::span<const std::string_view> args, TChartOptions& options,
                                    std::string& out, std::string& err);

std::string ChartUsage();

} // namespace quillon
