#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon {

// The program's own failures. Each kind carries its fixed message; the message is what the user
// sees, so context goes into the type, never into the text.
class QuillonError : public std::runtime_error {
public:
    explicit QuillonError(const std::string& message)
        : std::runtime_error(message)
        , message_(std::make_shared<const std::string>(message)) {}

    // The whole message. what() ends at the first zero byte, and a quoted text from a file may
    // hold some.
    const std::string& Message() const { return *message_; }

private:
    // Shared, so that copying the error cannot fail.
    std::shared_ptr<const std::string> message_;
};

class RangeCheckError : public QuillonError {
public:
    RangeCheckError()
        : QuillonError("Range check error") {}
};

class IntegerOverflowError : public QuillonError {
public:
    IntegerOverflowError()
        : QuillonError("Integer overflow") {}
};

class FloatDivideByZeroError : public QuillonError {
public:
    FloatDivideByZeroError()
        : QuillonError("Floating point division by zero") {}
};

class FloatInvalidOperationError : public QuillonError {
public:
    FloatInvalidOperationError()
        : QuillonError("Invalid floating point operation") {}
};

class FloatOverflowError : public QuillonError {
public:
    FloatOverflowError()
        : QuillonError("Floating point overflow") {}
};

// A text that is not a number of the kind asked for.
class ConversionError : public QuillonError {
public:
    using QuillonError::QuillonError;
};

class IntegerConversionError : public ConversionError {
public:
    explicit IntegerConversionError(std::string_view text);
};

class PriceConversionError : public ConversionError {
public:
    explicit PriceConversionError(std::string_view text);
};

[[noreturn]] void ThrowRangeCheckError();

} // namespace quillon
