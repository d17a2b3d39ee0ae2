#pragma once

#include <string>
#include <vector>

#include "tools/BarFileGenerator.h"

namespace quillon {

// Bar files with one fault each, made from the generator's random walk.

// The generator's default file: 1,900 bars, so a run with 500 bars loads lines 1400..1899.
std::vector<TGeneratedBar> StandardBars();

// The lines of bars as the terminal writes them, without line ends.
std::vector<std::string> BarLines(const std::vector<TGeneratedBar>& bars);

// Lines joined, each followed by lineEnd.
std::string JoinLines(const std::vector<std::string>& lines, const std::string& lineEnd);

// The line with its close price (field 6) replaced by closeText.
std::string WithClose(const std::string& line, const std::string& closeText);

// The close price text of a line.
std::string CloseText(const std::string& line);

// 8-bit text as UTF-16 little-endian, without a byte order mark.
std::string Utf16LittleEndian(const std::string& text);

} // namespace quillon
