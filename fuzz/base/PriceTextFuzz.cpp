#include <cmath>

#include "base/Errors.h"
#include "base/PriceText.h"
#include "fuzz/FuzzInput.h"

using namespace quillon;

// The first byte picks the decimal separator, the rest is the text. A price is always finite;
// the only failures are a text of the wrong shape and a magnitude beyond the Double range.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzBytes bytes(data, size);
    const char separator = (bytes.Take() & 1) != 0 ? ',' : '.';
    try {
        Require(std::isfinite(TextToPrice(bytes.TakeRest(), separator)));
    } catch (const PriceConversionError&) {
    } catch (const FloatOverflowError&) {
    }
    return 0;
}
