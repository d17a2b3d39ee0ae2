#include <cmath>

#include "base/Errors.h"
#include "base/IntegerText.h"
#include "base/PriceText.h"
#include "fuzz/FuzzInput.h"

using namespace quillon;

// The first byte picks the conversion, a price when its bit 2 is set (bit 0 then picks a comma as
// the decimal separator), else an integer; the rest is the text. Any text converts or fails with
// its conversion's error, a price also with the overflow error beyond the Double range. A price is
// always finite; an integer writes back as a text that converts to the same value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzBytes bytes(data, size);
    const std::uint8_t choice = bytes.Take();
    const std::string_view text = bytes.TakeRest();
    if ((choice & 4) != 0) {
        try {
            Require(std::isfinite(TextToPrice(text, (choice & 1) != 0 ? ',' : '.')));
        } catch (const PriceConversionError&) {
        } catch (const FloatOverflowError&) {
        }
        return 0;
    }
    try {
        const std::int32_t value = TextToInteger(text);
        Require(TextToInteger(IntegerToText(value)) == value);
    } catch (const IntegerConversionError&) {
    }
    return 0;
}
