
#include "base/Errors.h"
#include "base/IntegerText.h"
#include "fuzz/FuzzInput.h"

using namespace quillon;

// Any text either converts or fails with the conversion error; what converts writes back as a
// text that converts to the same value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const std::int32_t value = TextToInteger(TFuzzBytes(data, size).TakeRest());
        Require(TextToInteger(IntegerToText(value)) == value);
    } catch (const IntegerConversionError&) {
    }
    return 0;
}
