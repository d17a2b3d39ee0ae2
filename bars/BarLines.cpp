#include "bars/BarLines.h"

#include <algorithm>

#include "base/CheckedArray.h"

namespace quillon {

TBarLines::TBarLines()
    : lines_(Capacity) {}

const std::string& TBarLines::operator[](int index) const {
    return lines_[static_cast<std::size_t>(CheckedIndex(index, Capacity))];
}

std::string& TBarLines::operator[](int index) {
    return lines_[static_cast<std::size_t>(CheckedIndex(index, Capacity))];
}

void TBarLines::MakeOldestFirst(int oldestIndex) {
    const auto oldest = lines_.begin() + CheckedIndex(oldestIndex, Capacity);
    // Strings move by their buffers, so this costs no copying of text.
    std::rotate(lines_.begin(), oldest, lines_.end());
}

} // namespace quillon
