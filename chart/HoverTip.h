#pragma once

#include <optional>
#include <string>

#include "chart/NumberFormat.h"
#include "chart/Series.h"

namespace quillon {

inline constexpr std::string_view TipXFormat = "#,##0.###";
inline constexpr std::string_view TipCloseFormat = "0.#####";

// The tip over a candle: its x, one space, its close.
std::string HoverTipText(const TCandle& candle, const TNumberSeparators& separators);

enum class TTipAction { None, Show, Hide };

// The chart's hint text and what a mouse move does to the tooltip: a new text shows at once, the
// same text again does nothing, and a move over no candle empties the hint and hides the tip.
class THoverTip {
public:
    TTipAction Update(const std::optional<std::string>& tipText);
    const std::string& HintText() const { return hintText_; }

private:
    std::string hintText_;
};

} // namespace quillon
