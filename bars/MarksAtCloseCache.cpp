#include "bars/MarksAtCloseCache.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <unordered_map>

namespace quillon {

void TMarksAtCloseCache::TakeKept(const TRun& run, int firstLine, TMarksAtClose& marks,
                                  std::vector<int>& rows) const {
    const int N = run.BarCount();
    const int keptLines = static_cast<int>(lines_.size());
    // Each kept line's index by its text; -1 for a text met twice, whose rows are worked out
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
    // the count grows by N over them. Normally one shift serves every row.
    std::map<int, std::vector<int>> equalCounts;
    const int lastLine = run.StoreIndexOfRow(N - 1);
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

    for (int row = 0; row < N; ++row) {
        const int last = run.StoreIndexOfRow(row);
        if (last - N + 1 < 0) {
            continue; // no mark at close, and no run to make
        }
        const auto found = keptIndex.find(run.StoredLine(last));
        const int keptLast = found != keptIndex.end() ? found->second : -1;
        const int keptRow = keptLast - firstRowLine_;
        if (keptLast >= 0 && keptLast - N + 1 >= 0 && keptRow >= 0 && keptRow < N) {
            const std::vector<int>& counts = countsFor(keptLast - last);
            const auto at = [&counts, firstLine](int line) {
                const int size = static_cast<int>(counts.size());
                return counts[static_cast<std::size_t>(CheckedIndex(line - firstLine, size))];
            };
            if (at(last + 1) - at(last - N + 1) == N) {
                marks[static_cast<std::size_t>(row)] =
                    marks_[static_cast<std::size_t>(CheckedIndex(keptRow, N))];
                continue;
            }
        }
        rows.push_back(row);
    }
}

const TMarksAtClose& TMarksAtCloseCache::Update(const TRun& run, unsigned threads) {
    const TSettings settings{run.BarCount(), run.Lag1(), run.Lag2(), run.DecimalSeparator()};
    const int N = settings.N;
    // The oldest stored line that a row's N lines take in.
    const int firstLine = std::max(0, run.StoreIndexOfRow(0) - (N - 1));
    TMarksAtClose marks(static_cast<std::size_t>(N));
    std::vector<int> rows;
    try {
        if (settings_ == settings) {
            TakeKept(run, firstLine, marks, rows);
        } else {
            for (int row = 0; row < N; ++row) {
                if (run.StoreIndexOfRow(row) - N + 1 >= 0) {
                    rows.push_back(row);
                }
            }
        }
        WorkOutMarksAtClose(run, rows, marks, threads);
        lines_.resize(static_cast<std::size_t>(run.StoreIndexOfRow(N) - firstLine));
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
    firstRowLine_ = run.StoreIndexOfRow(0) - firstLine;
    marks_ = std::move(marks);
    runsWorkedOut_ = static_cast<int>(rows.size());
    return marks_;
}

} // namespace quillon
