#include "bars/BarLines.h"

#include <algorithm>

#include "base/Errors.h"

namespace quillon {

std::string_view TBarLines::operator[](int index) const {
    int slot = first_ + CheckedIndex(index, count_);
    if (slot >= Capacity) {
        slot -= Capacity;
    }
    const TSpan& span = spans_[static_cast<std::size_t>(CheckedIndex(slot, count_))];
    return std::string_view(text_).substr(span.offset, span.size);
}

void TBarLines::Clear() {
    text_.clear();
    spans_.clear();
    first_ = 0;
    count_ = 0;
}

void TBarLines::Reserve(std::size_t bytes) {
    text_.reserve(bytes);
}

void TBarLines::NoLineStarted() {
    ThrowRangeCheckError();
}

void TBarLines::StartLineLettingOneGo() {
    spans_[static_cast<std::size_t>(CheckedIndex(first_, count_))] = {text_.size(), 0};
    first_ = first_ + 1 == Capacity ? 0 : first_ + 1;
    // Lines go into the buffer in file order, so the text of the lines let go is all before the
    // oldest kept line's.
    const std::size_t letGo = spans_[static_cast<std::size_t>(CheckedIndex(first_, count_))].offset;
    if (letGo > std::max(text_.size() - letGo, LeastTextToDrop)) {
        DropTextBefore(letGo);
    }
}

void TBarLines::DropTextBefore(std::size_t offset) {
    text_.erase(0, offset);
    for (TSpan& span : spans_) {
        span.offset -= offset;
    }
}

} // namespace quillon
