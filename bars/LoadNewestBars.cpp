#include "bars/LoadNewestBars.h"

#include <string_view>

#include "bars/GetField.h"
#include "base/CheckedInt.h"
#include "base/PriceText.h"

namespace quillon {

void LoadNewestBars(int N, int lineCount, const TBarLines& barLines, char decimalSeparator,
                    TBarTable& bars, const TCloseListener& onClose) {
    const auto price = [decimalSeparator](std::string_view field) {
        return TextToPrice(field, decimalSeparator);
    };
    const int first = CheckedSubtract(lineCount, N);
    int row = 0;
    for (int i = first; i < lineCount; ++i) {
        const std::string_view line = barLines[i];
        const std::string_view closeText = BarField(line, CloseField);
        const std::string_view openText = BarField(line, OpenField);
        const std::string_view highText = BarField(line, HighField);
        const std::string_view lowText = BarField(line, LowField);
        onClose(i, price(closeText));
        CheckedIndex(row, SeriesCapacity);
        bars.BarOpen[row] = price(openText);
        bars.BarHigh[row] = price(highText);
        bars.BarLow[row] = price(lowText);
        bars.BarClose[row] = price(closeText);
        ++row;
    }
}

} // namespace quillon
