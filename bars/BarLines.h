#pragma once

#include <string>
#include <vector>

#include "bars/BarData.h"

namespace quillon {

// The store of the bar file's lines: BarLinesCapacity entries, each checked on access. Entries at
// and above the last read's line count keep text of an earlier read and are never used.
class TBarLines {
public:
    static constexpr int Capacity = BarLinesCapacity;

    TBarLines();
    const std::string& operator[](int index) const;
    std::string& operator[](int index);

    // After a read that went round the store more than once, the oldest kept line sits at
    // oldestIndex; this moves it to index 0 with the newer lines after it, in file order.
    void MakeOldestFirst(int oldestIndex);

private:
    std::vector<std::string> lines_;
};

} // namespace quillon
