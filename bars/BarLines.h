#pragma once

#include <string>
#include <vector>

#include "bars/BarData.h"

namespace quillon {

// The store of the bar file's lines: BarLinesCapacity entries, each checked on access. Entries at
// and above the last read's line count keep text of an earlier read and are never used.
// (Interface to be completed with the reader.)
class TBarLines {
public:
    TBarLines();
    const std::string& operator[](int index) const;
    std::string& operator[](int index);

private:
    std::vector<std::string> lines_;
};

} // namespace quillon
