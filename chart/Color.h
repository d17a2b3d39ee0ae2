#pragma once

#include <cstdint>
#include <optional>

namespace quillon {

struct TColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const TColor&) const = default;
};

// A point's own colour, or none: then the point shows in its series' colour.
using TPointColor = std::optional<TColor>;

inline constexpr TColor clBlue{0, 0, 255};
inline constexpr TColor clWhite{255, 255, 255};
inline constexpr TColor clRed{255, 0, 0};
inline constexpr TColor clLime{0, 255, 0};
inline constexpr TColor clBlack{0, 0, 0};
inline constexpr TColor clCream{255, 251, 240};
// The first two colours of the chart's palette, taken by the two series that have no colour of
// their own: the first series placed takes the first, the candles the second.
inline constexpr TColor PaletteColor1{130, 155, 254};
inline constexpr TColor PaletteColor2{252, 209, 36};

} // namespace quillon
