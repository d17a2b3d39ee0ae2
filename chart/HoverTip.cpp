#include "chart/HoverTip.h"

namespace quillon {

std::string HoverTipText(const TCandle& candle, const TNumberSeparators& separators) {
    return FormatNumber(candle.x, TipXFormat, separators) + " " +
           FormatNumber(candle.close, TipCloseFormat, separators);
}

TTipAction THoverTip::Update(const std::optional<std::string>& tipText) {
    if (!tipText) {
        const bool wasShown = !hintText_.empty();
        hintText_.clear();
        return wasShown ? TTipAction::Hide : TTipAction::None;
    }
    if (*tipText == hintText_) {
        return TTipAction::None;
    }
    hintText_ = *tipText;
    return TTipAction::Show;
}

} // namespace quillon
