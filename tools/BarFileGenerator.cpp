#include "tools/BarFileGenerator.h"

#include <algorithm>
#include <cstdio>
#include <random>

namespace quillon {

namespace {

// The lowest price the walk may reach, so that no price turns zero or negative.
constexpr std::int64_t FloorPoints = 1000;
// How far the high and the low reach beyond the body, at most, in points.
constexpr std::int64_t WickPoints = 15;
// The open may stand a point or two off the previous close, as after a quiet tick.
constexpr std::int64_t GapPoints = 2;
constexpr std::int64_t LeastVolume = 20;
constexpr std::int64_t VolumeSpread = 600;

// A whole number in -limit..limit from the engine's raw output, which the standard fixes, so the
// walk is the same with every library.
std::int64_t Uniform(std::mt19937_64& random, std::int64_t limit) {
    const std::uint64_t span = static_cast<std::uint64_t>(2 * limit + 1);
    return static_cast<std::int64_t>(random() % span) - limit;
}

std::int64_t UpTo(std::mt19937_64& random, std::int64_t limit) {
    return static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(limit + 1));
}

void StampTime(std::chrono::sys_time<std::chrono::minutes> openTime, TGeneratedBar& bar) {
    const auto day = std::chrono::floor<std::chrono::days>(openTime);
    const std::chrono::year_month_day date(day);
    const std::chrono::hh_mm_ss<std::chrono::minutes> clock(openTime - day);
    long minute = static_cast<long>(clock.minutes().count());
    if (clock.hours().count() == 0 && minute == 0) {
        minute = 1;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    bar.date = text;
    std::snprintf(text, sizeof text, "%02ld%02ld", static_cast<long>(clock.hours().count()),
                  minute);
    bar.time = text;
}

std::string PriceText(std::int64_t points) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%0*lld", static_cast<long long>(points / PointsPerUnit),
                  QuoteDigits, static_cast<long long>(points % PointsPerUnit));
    return text;
}

} // namespace

std::vector<TGeneratedBar> GenerateBars(const TBarFileSettings& settings) {
    std::mt19937_64 random(settings.seed);
    std::vector<TGeneratedBar> bars(static_cast<std::size_t>(std::max(settings.barCount, 0)));
    std::chrono::sys_time<std::chrono::minutes> openTime = settings.firstDay;
    std::int64_t previousClose = settings.firstOpenPoints;
    for (TGeneratedBar& bar : bars) {
        StampTime(openTime, bar);
        openTime += std::chrono::minutes(settings.periodMinutes);
        bar.open = std::max(previousClose + Uniform(random, GapPoints), FloorPoints);
        bar.close = std::max(bar.open + Uniform(random, settings.stepPoints), FloorPoints);
        bar.high = std::max(bar.open, bar.close) + UpTo(random, WickPoints);
        bar.low =
            std::max(std::min(bar.open, bar.close) - UpTo(random, WickPoints), std::int64_t{1});
        bar.volume = LeastVolume + UpTo(random, VolumeSpread);
        previousClose = bar.close;
    }
    return bars;
}

double PointsToPrice(std::int64_t points) {
    // Both are whole numbers well inside a Double's exact range, so the quotient is the Double
    // nearest to the decimal text, which is what reading the text gives.
    return static_cast<double>(points) / static_cast<double>(PointsPerUnit);
}

std::string BarLineText(const TGeneratedBar& bar) {
    return bar.date + ',' + bar.time + ',' + PriceText(bar.open) + ',' + PriceText(bar.high) + ',' +
           PriceText(bar.low) + ',' + PriceText(bar.close) + ',' + std::to_string(bar.volume);
}

std::string BarFileText(const std::vector<TGeneratedBar>& bars) {
    std::string text;
    for (const TGeneratedBar& bar : bars) {
        text += BarLineText(bar);
        text += "\r\n";
    }
    return text;
}

std::string BarFileText(const TBarFileSettings& settings) {
    return BarFileText(GenerateBars(settings));
}

} // namespace quillon
