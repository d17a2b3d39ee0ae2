#pragma once

#include <string>
#include <string_view>

namespace quillon {

// The clock-time part of a locale's long time pattern (in the Qt date-time pattern syntax:
// letters are fields, text between apostrophes is literal, '' is an apostrophe): the time-zone
// fields are dropped with the blanks that set them off, and minutes and seconds always get two
// digits. Hours and the AM/PM marker stay as the locale writes them.
std::string ClockTimePattern(std::string_view localePattern);

} // namespace quillon
