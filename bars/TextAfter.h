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

// The chart's file label for a chosen path: the part after the first experts folder, as
// TextAfter gives it, when the path has one; else, for the terminals from build 600 on, which
// keep no experts folder, the part from the first MQL4 folder on, the folder's name included;
// else empty. Folders are separated by the platform's own separator.
std::string FileLabelText(std::string_view path);

} // namespace quillon
