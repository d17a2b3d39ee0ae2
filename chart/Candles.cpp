#include "chart/Candles.h"

#include <algorithm>
#include <cstdlib>

#include "base/CheckedArray.h"
#include "base/CheckedInt.h"
#include "chart/Scales.h"

namespace quillon {

namespace {

constexpr int BodyLeftColumns = TCandleSeries::CandleWidth / 2;
constexpr int BodyRightColumns = TCandleSeries::CandleWidth - BodyLeftColumns;
// How far left or right of the high-low line the pointer may stray and still hit it.
constexpr int HighLowLineReach = 1;

const TCandle& CandleAtIndex(std::span<const TCandle> candles, int index) {
    return candles[static_cast<std::size_t>(CheckedIndex(index, static_cast<int>(candles.size())))];
}

bool IsBetween(int value, int end1, int end2) {
    return std::min(end1, end2) <= value && value <= std::max(end1, end2);
}

} // namespace

TColor CandleColor(std::span<const TCandle> candles, int index, TColor seriesColor) {
    const TCandle& candle = CandleAtIndex(candles, index);
    if (candle.color) {
        return *candle.color;
    }
    if (candle.close < candle.open) {
        return TCandleSeries::DownCloseColor;
    }
    if (candle.close > candle.open || index == 0) {
        return TCandleSeries::UpCloseColor;
    }
    const TCandle& previous = CandleAtIndex(candles, index - 1);
    if (candle.close < previous.close) {
        return TCandleSeries::DownCloseColor;
    }
    if (candle.close > previous.close) {
        return TCandleSeries::UpCloseColor;
    }
    return previous.color.value_or(seriesColor);
}

TCandleGeometry CandleGeometryOf(const TCandle& candle, const TAxisMap& x, const TAxisMap& y) {
    TCandleGeometry geometry;
    geometry.column = x.Pixel(candle.x);
    geometry.highRow = y.Pixel(candle.high);
    geometry.lowRow = y.Pixel(candle.low);
    geometry.openRow = y.Pixel(candle.open);
    geometry.closeRow = y.Pixel(candle.close);
    if (geometry.closeRow == geometry.openRow) {
        --geometry.closeRow;
    }
    geometry.bodyLeft = geometry.column - BodyLeftColumns;
    geometry.bodyRight = geometry.column + BodyRightColumns;
    return geometry;
}

bool IsCandleHit(const TCandleGeometry& candle, int column, int row) {
    const bool onHighLowLine =
        std::abs(CheckedSubtract(column, candle.column)) <= HighLowLineReach &&
        IsBetween(row, candle.highRow, candle.lowRow);
    const bool inBody = candle.bodyLeft <= column && column <= CheckedAdd(candle.bodyRight, 1) &&
                        IsBetween(row, candle.openRow, candle.closeRow);
    return onHighLowLine || inBody;
}

std::optional<int> CandleAt(std::span<const TCandle> candles, const TAxisMap& x, const TAxisMap& y,
                            int column, int row) {
    for (std::size_t i = 0; i < candles.size(); ++i) {
        const TCandle& candle = candles[i];
        if (x.Range().Contains(candle.x) &&
            IsCandleHit(CandleGeometryOf(candle, x, y), column, row)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

} // namespace quillon
