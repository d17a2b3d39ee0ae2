#include <cmath>
#include <cstdlib>

#include "base/Errors.h"
#include "base/PriceText.h"
#include "fuzz/FuzzInput.h"

// The first byte picks the decimal separator, the rest is the text. A price is always finite;
// the only failures are a text of the wrong shape and a magnitude beyond the Double range.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = (data[0] & 1) != 0 ? ',' : '.';
    const std::string_view text = quillon::AsText(data + 1, size - 1);
    try {
        if (!std::isfinite(quillon::TextToPrice(text, separator))) {
            std::abort();
        }
    } catch (const quillon::PriceConversionError&) {
    } catch (const quillon::FloatOverflowError&) {
    }
    return 0;
}
