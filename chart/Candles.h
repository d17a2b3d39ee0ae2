#pragma once

#include <optional>
#include <span>

#include "chart/Color.h"
#include "chart/Series.h"

namespace quillon {

class TAxisMap;

// Body fill of candle `index`: its own colour if it has one; red when it closes below its open,
// white above; a candle that closes at its open is white if first, else red or white as its
// close lies below or above the previous close, and at an equal close it takes the previous
// candle's own colour, or lacking one `seriesColor`. Range error for an index outside the list.
TColor CandleColor(std::span<const TCandle> candles, int index, TColor seriesColor);

// Pixel geometry of one candle. Rows grow downwards.
struct TCandleGeometry {
    int column = 0;
    int highRow = 0;
    int lowRow = 0;
    int openRow = 0;
    // Moved one row up when it would share the open row, so the body never vanishes.
    int closeRow = 0;
    int bodyLeft = 0;
    int bodyRight = 0;

    int BodyTop() const { return openRow < closeRow ? openRow : closeRow; }
    int BodyBottom() const { return openRow < closeRow ? closeRow : openRow; }
};

// The body spans CandleWidth div 2 columns left of the candle's column and the rest of
// CandleWidth to the right: 5 columns for a width of 4.
TCandleGeometry CandleGeometryOf(const TCandle& candle, const TAxisMap& x, const TAxisMap& y);

// A pointer hits a candle within one column of its high-low line between the high and low rows,
// or in its body box, which reaches one column past the body's right edge. The body counts
// whichever of the open and close rows lies higher.
bool IsCandleHit(const TCandleGeometry& candle, int column, int row);

// The first candle, by index, within the x range of `x` that the pointer hits.
std::optional<int> CandleAt(std::span<const TCandle> candles, const TAxisMap& x, const TAxisMap& y,
                            int column, int row);

} // namespace quillon
