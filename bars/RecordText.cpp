#include "bars/RecordText.h"

#include <cmath>

#include "bars/WatchRow.h"
#include "base/IntegerText.h"

namespace quillon {

namespace {

std::string WholePercent(double share) {
    return std::to_string(std::lround(100.0 * share));
}

std::uint64_t Magnitude(std::int64_t value) {
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

std::string SignOf(std::int64_t value) {
    return value > 0 ? "+" : value < 0 ? "-" : "";
}

} // namespace

std::string PointsText(std::int64_t points) {
    return SignOf(points) + GroupedDigits(Magnitude(points));
}

std::string DrawdownText(std::int64_t points) {
    std::string text = points < 0 ? "-" : "";
    text += GroupedDigits(Magnitude(points));
    return text;
}

std::string MeanPointsText(const TRecordSummary& summary) {
    const std::optional<double> mean = summary.MeanPoints();
    if (!mean) {
        return "none";
    }
    // A mean lies between the smallest and the largest trade, so its tenths fit.
    const long long tenths = std::llround(*mean * 10.0);
    const std::uint64_t magnitude = Magnitude(tenths);
    return SignOf(tenths) + GroupedDigits(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

std::string ProfitFactorText(const std::optional<double>& profitFactor) {
    if (!profitFactor) {
        return "no loss";
    }
    // snprintf's %f writes the C locale's point only while LC_NUMERIC is "C"; the digits are
    // put together here so that a decimal-comma locale changes nothing.
    const long long hundredths = std::llround(*profitFactor * 100.0);
    const long long cents = hundredths % 100;
    return std::to_string(hundredths / 100) + (cents < 10 ? ".0" : ".") + std::to_string(cents);
}

std::string WinRateText(const TRecordSummary& summary) {
    std::string text = std::to_string(summary.won) + " of " + std::to_string(summary.trades);
    if (const std::optional<double> share = summary.WinShare(); share && summary.winRate) {
        text += ", " + WholePercent(*share) + " %, 95 %: " + WholePercent(summary.winRate->low) +
                "-" + WholePercent(summary.winRate->high) + " %";
    }
    return text;
}

std::string OpenPositionText(const TRecordSummary& summary) {
    if (summary.openDirection == TTick::None) {
        return "none";
    }
    return std::string(MarkText(summary.openDirection)) + ", " + PointsText(summary.openPoints);
}

} // namespace quillon
