#include "bars/BarLines.h"

#include <algorithm>

#include "base/CheckedArray.h"
#include "base/Errors.h"

namespace quillon {

namespace {

// Dropping the lines let go copies the kept text, so it waits until their share is worth it.
constexpr std::size_t LeastTextToDrop = 1u << 20;

} // namespace

std::string_view TBarLines::operator[](int index) const {
    int slot = first_ + CheckedIndex(index, count_);
    if (slot >= Capacity) {
        slot -= Capacity;
    }
    const TSpan& span = spans_[static_cast<std::size_t>(slot)];
    return std::string_view(text_).substr(span.offset, span.size);
}

void TBarLines::Clear() {
    text_.clear();
    spans_.clear();
    first_ = 0;
    count_ = 0;
    keptBytes_ = 0;
}

void TBarLines::Reserve(std::size_t bytes) {
    text_.reserve(bytes);
}

void TBarLines::StartLine() {
    if (count_ < Capacity) {
        spans_.push_back({text_.size(), 0});
        ++count_;
        return;
    }
    TSpan& oldest = spans_[static_cast<std::size_t>(first_)];
    keptBytes_ -= oldest.size;
    oldest = {text_.size(), 0};
    first_ = first_ + 1 == Capacity ? 0 : first_ + 1;
    if (text_.size() - keptBytes_ > std::max(keptBytes_, LeastTextToDrop)) {
        DropLinesLetGo();
    }
}

void TBarLines::AppendToLine(std::string_view text) {
    if (count_ == 0) {
        ThrowRangeCheckError();
    }
    // The newest line is always the last of the buffer's text.
    const int newest = first_ == 0 ? count_ - 1 : first_ - 1;
    spans_[static_cast<std::size_t>(newest)].size += text.size();
    text_.append(text);
    keptBytes_ += text.size();
}

void TBarLines::DropLinesLetGo() {
    std::string kept;
    kept.reserve(keptBytes_);
    std::vector<TSpan> spans;
    spans.reserve(spans_.size());
    for (int i = 0; i < count_; ++i) {
        const std::string_view line = (*this)[i];
        spans.push_back({kept.size(), line.size()});
        kept.append(line);
    }
    text_.swap(kept);
    spans_.swap(spans);
    first_ = 0;
}

} // namespace quillon
