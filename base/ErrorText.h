#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace quillon {

// The text of the standard error box: the message, with a "." appended when the message is not
// empty and its last character sorts after "." in the character table.
std::string ErrorBoxText(std::string_view message);

// A failure in the words a user reads, the same in the window, the watch list and every tool: the
// program's own error its whole message (what() ends at a zero byte, which a quoted text may
// hold), storage that cannot be had "out of memory", anything else what it says.
std::string FailureText(const std::exception& error);

} // namespace quillon
