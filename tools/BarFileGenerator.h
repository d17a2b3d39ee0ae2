#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

// Bar files for tests, benchmarks and samples: a random walk of prices, written line for line as
// the terminal's indicator script writes them.

// Quotes carry five digits after the point, as a five-digit broker's currency pairs do; prices are
// worked out in whole points so that the text is exact.
inline constexpr int QuoteDigits = 5;
inline constexpr std::int64_t PointsPerUnit = 100000;

struct TBarFileSettings {
    int barCount = 1900;
    // The same seed gives the same file on every machine.
    std::uint64_t seed = 1;
    int periodMinutes = 60;
    std::chrono::sys_days firstDay =
        std::chrono::sys_days(std::chrono::year(2024) / std::chrono::January / 2);
    std::int64_t firstOpenPoints = 108000;
    // The largest move of the close from the open, in points.
    std::int64_t stepPoints = 40;
};

struct TGeneratedBar {
    std::string date; // YYYYMMDD
    std::string time; // HHMM; a bar opening at midnight is stamped 0001
    std::int64_t open = 0;
    std::int64_t high = 0;
    std::int64_t low = 0;
    std::int64_t close = 0;
    std::int64_t volume = 0;
};

std::vector<TGeneratedBar> GenerateBars(const TBarFileSettings& settings);

// A price in points as a Double: the value the file's text reads back to.
double PointsToPrice(std::int64_t points);

// date,time,open,high,low,close,volume, without the line end.
std::string BarLineText(const TGeneratedBar& bar);

// The whole file: every line ended with CR LF, oldest bar first.
std::string BarFileText(const std::vector<TGeneratedBar>& bars);
std::string BarFileText(const TBarFileSettings& settings);

} // namespace quillon
