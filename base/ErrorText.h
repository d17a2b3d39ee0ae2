#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The text of the standard error box: the message, with a "." appended when the message is not
// empty and its last character sorts after "." in the character table.
std::string ErrorBoxText(std::string_view message);

} // namespace quillon
