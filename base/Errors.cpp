#include "base/Errors.h"

namespace quillon {

namespace {

std::string Quoted(std::string_view text, std::string_view what) {
    std::string message;
    message.reserve(text.size() + what.size() + 2);
    message += '\'';
    message += text;
    message += '\'';
    message += what;
    return message;
}

} // namespace

IntegerConversionError::IntegerConversionError(std::string_view text)
    : ConversionError(Quoted(text, " is not a valid integer value")) {}

PriceConversionError::PriceConversionError(std::string_view text)
    : ConversionError(Quoted(text, " is not a valid floating point value")) {}

void ThrowRangeCheckError() {
    throw RangeCheckError();
}

} // namespace quillon
