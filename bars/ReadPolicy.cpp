#include "bars/ReadPolicy.h"

namespace quillon {

TReadSettings ClickRead(char decimalSeparator) {
    return {decimalSeparator, FailedReadPause, FailedReadPause};
}

TReadSettings ScriptRead(char decimalSeparator) {
    return {decimalSeparator, std::chrono::milliseconds(0), FailedReadPause};
}

TReadSettings WatchedRead(char decimalSeparator) {
    return {decimalSeparator, std::chrono::milliseconds(0), std::chrono::milliseconds(0)};
}

} // namespace quillon
