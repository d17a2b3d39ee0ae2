#include "bars/LoadNewestBars.h"

#include <string_view>

#include "bars/GetField.h"
#include "base/CheckedInt.h"
#include "base/PriceText.h"

namespace quillon {

namespace {

// Where the terminal's script puts the four prices of a bar.
constexpr char FieldDelimiter = ',';
constexpr std::uint8_t OpenField = 3;
constexpr std::uint8_t HighField = 4;
constexpr std::uint8_t LowField = 5;
constexpr std::uint8_t CloseField = 6;

} // namespace

void LoadNewestBars(int N, int lineCount, const TBarLines& barLines, char decimalSeparator,
                    TBarTable& bars, const TCloseListener& onClose) {
    const auto price = [decimalSeparator](std::string_view field) {
        return TextToPrice(field, decimalSeparator);
    };
    const int first = CheckedSubtract(lineCount, N);
    int row = 0;
    for (int i = first; i < lineCount; ++i) {
        const std::string_view line = barLines[i];
        const std::string_view closeText = GetField(line, FieldDelimiter, CloseField);
        const std::string_view openText = GetField(line, FieldDelimiter, OpenField);
        const std::string_view highText = GetField(line, FieldDelimiter, HighField);
        const std::string_view lowText = GetField(line, FieldDelimiter, LowField);
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
