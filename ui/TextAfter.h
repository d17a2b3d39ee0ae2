#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The part of subject after the first occurrence of pattern, compared case-sensitively from the
// start of subject; empty when pattern does not occur or its occurrence ends subject.
std::string TextAfter(std::string_view pattern, std::string_view subject);

// "experts" followed by the platform's own directory separator: the file label shows the part
// of a chosen path after the terminal's experts folder.
std::string ExpertsFolderPattern();

} // namespace quillon
