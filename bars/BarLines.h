#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "bars/BarData.h"
#include "base/CheckedArray.h"

namespace quillon {

// The store of the bar file's newest lines, at most Capacity of them, in file order; each access
// is checked against the lines stored. Their text sits in one buffer: a file of thousands of lines
// costs a few allocations to store and a few to free, not one a line, which mattered when hundreds
// of runs a second are freed on the window's thread.
class TBarLines {
public:
    static constexpr int Capacity = BarLinesCapacity;

    int Count() const { return count_; }
    // Line `index`, from 0 for the oldest kept; the range error outside 0..Count()-1. Valid until
    // the store next changes.
    std::string_view operator[](int index) const;

    // Filling the store as a read goes: Clear, then StartLine and AppendToLine for each line.
    void Clear();
    // Room for about this many bytes of text, so that a read of a known size grows no buffer.
    void Reserve(std::size_t bytes);
    // A new newest line, empty; past Capacity lines the oldest is let go. Inline with
    // AppendToLine, as a read calls them for every line.
    void StartLine() {
        if (count_ < Capacity) {
            spans_.push_back({text_.size(), 0});
            ++count_;
        } else {
            StartLineLettingOneGo();
        }
    }
    // More text of the newest line.
    void AppendToLine(std::string_view text) {
        if (count_ == 0) [[unlikely]] {
            NoLineStarted();
        }
        // The newest line is always the last of the buffer's text.
        const int newest = first_ == 0 ? count_ - 1 : first_ - 1;
        spans_[static_cast<std::size_t>(CheckedIndex(newest, count_))].size += text.size();
        text_.append(text);
    }

private:
    struct TSpan {
        std::size_t offset = 0;
        std::size_t size = 0;
    };

    // Dropping the text of the lines let go moves the kept text, so it waits until there is
    // enough of it to be worth a move.
    static constexpr std::size_t LeastTextToDrop = 1u << 20;

    [[noreturn]] static void NoLineStarted();
    void StartLineLettingOneGo();
    // Once the lines let go hold more of the buffer than the kept ones, their text goes: a file of
    // any length keeps the memory of its newest Capacity lines, at most about twice.
    void DropTextBefore(std::size_t offset);

    std::string text_;
    // A ring once Capacity lines are kept: the oldest at first_.
    std::vector<TSpan> spans_;
    int first_ = 0;
    int count_ = 0;
};

} // namespace quillon
