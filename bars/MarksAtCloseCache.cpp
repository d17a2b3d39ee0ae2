#include "bars/MarksAtCloseCache.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <unordered_map>

namespace quillon {

void TMarksAtCloseCache::TakeKept(const TRun& run, int firstLine, int fromLine,
                                  TMarksAtClose& marks, std::vector<int>& lines) const {
    const int N = run.BarCount();
    const int keptMarks = static_cast<int>(marks_.size());
    const int keptLines = static_cast<int>(lines_.size());
    // Each kept line's index by its text; -1 for a text met twice, whose lines are worked out
    // afresh rather than matched by a guess.
    std::unordered_map<std::string_view, int> keptIndex;
    for (int i = 0; i < keptLines; ++i) {
        const auto [entry, fresh] = keptIndex.emplace(lines_[static_cast<std::size_t>(i)], i);
        if (!fresh) {
            entry->second = -1;
        }
    }
    // For a shift from the store's index of a line to the kept one's, how many of the stored lines
    // from firstLine up to each are equal to the kept ones so shifted: N lines are all equal when
    // the count grows by N over them. Normally one shift serves every line.
    std::map<int, std::vector<int>> equalCounts;
    const int lastLine = run.LineCount() - 1;
    const auto countsFor = [&](int shift) -> const std::vector<int>& {
        std::vector<int>& counts = equalCounts[shift];
        if (counts.empty()) {
            counts.push_back(0);
            for (int line = firstLine; line <= lastLine; ++line) {
                const int kept = line + shift;
                const bool equal = kept >= 0 && kept < keptLines &&
                                   lines_[static_cast<std::size_t>(kept)] == run.StoredLine(line);
                counts.push_back(counts.back() + (equal ? 1 : 0));
            }
        }
        return counts;
    };

    for (int last = fromLine; last <= lastLine; ++last) {
        if (last - N + 1 < 0) {
            continue; // no mark at close, and no run to make
        }
        const auto found = keptIndex.find(run.StoredLine(last));
        const int keptLast = found != keptIndex.end() ? found->second : -1;
        const int keptMarked = keptLast - firstMarkedLine_;
        if (keptLast >= 0 && keptLast - N + 1 >= 0 && keptMarked >= 0 && keptMarked < keptMarks) {
            const std::vector<int>& counts = countsFor(keptLast - last);
            const auto at = [&counts, firstLine](int line) {
                const int size = static_cast<int>(counts.size());
                return counts[static_cast<std::size_t>(CheckedIndex(line - firstLine, size))];
            };
            if (at(last + 1) - at(last - N + 1) == N) {
                marks[static_cast<std::size_t>(last - fromLine)] =
                    marks_[static_cast<std::size_t>(CheckedIndex(keptMarked, keptMarks))];
                continue;
            }
        }
        lines.push_back(last);
    }
}

const TMarksAtClose& TMarksAtCloseCache::Update(const TRun& run, unsigned threads, TScope scope,
                                                const TMarksProgress& progress) {
    const TSettings settings{run.BarCount(), run.Lag1(), run.Lag2(), run.DecimalSeparator()};
    const int N = settings.N;
    const int fromLine = scope == TScope::WholeFile ? 0 : run.StoreIndexOfRow(0);
    // The oldest stored line that a marked line's N lines take in.
    const int firstLine = std::max(0, fromLine - (N - 1));
    TMarksAtClose marks(static_cast<std::size_t>(run.LineCount() - fromLine));
    std::vector<int> lines;
    try {
        if (settings_ == settings) {
            TakeKept(run, firstLine, fromLine, marks, lines);
        } else {
            for (int line = std::max(fromLine, N - 1); line < run.LineCount(); ++line) {
                lines.push_back(line);
            }
        }
        WorkOutMarksAtClose(run, fromLine, lines, marks, threads, progress);
        lines_.resize(static_cast<std::size_t>(run.LineCount() - firstLine));
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            lines_[i] = run.StoredLine(firstLine + static_cast<int>(i));
        }
    } catch (...) {
        settings_.reset();
        lines_.clear();
        marks_.clear();
        runsWorkedOut_ = 0;
        throw;
    }
    settings_ = settings;
    firstMarkedLine_ = fromLine - firstLine;
    marks_ = std::move(marks);
    runsWorkedOut_ = static_cast<int>(lines.size());
    return marks_;
}

} // namespace quillon
