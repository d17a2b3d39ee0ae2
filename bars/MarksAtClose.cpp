#include "bars/MarksAtClose.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "bars/Turns.h"
#include "base/Errors.h"
#include "base/ShareOut.h"

namespace quillon {

namespace {

const TMarkAtClose& MarkOf(const TMarksAtClose& marks, int row) {
    return marks[static_cast<std::size_t>(CheckedIndex(row, static_cast<int>(marks.size())))];
}

// The first stored line of the N that end at stored line `line`; below 0 when the file held fewer.
int FirstOfWindow(const TRun& run, int line) {
    return line - (run.BarCount() - 1);
}

// The closes of stored lines, each line loaded once as LoadBars loads it. A run loads each of its
// N lines the same way, so that its closes are these and its load fails where one of its lines
// cannot be loaded; reading each line once, instead of once a run, saves a fifth of the work.
class TStoredCloses {
public:
    // Lines first..last.
    TStoredCloses(const TRun& run, int first, int last)
        : first_(first) {
        const auto one = std::make_unique<TBarTable>();
        failedBefore_.push_back(0);
        for (int line = first; line <= last; ++line) {
            bool failed = false;
            try {
                run.LoadStoredBars(line, 1, *one);
            } catch (const QuillonError&) {
                failed = true;
            }
            closes_.push_back(failed ? 0.0 : one->BarClose[0]);
            failedBefore_.push_back(failedBefore_.back() + (failed ? 1 : 0));
        }
    }

    // Whether lines first..first+N-1 all load; if so, their closes go into closes[0..N-1].
    bool Load(int first, int N, TSeries& closes) const {
        const int size = static_cast<int>(closes_.size());
        const int from = CheckedIndex(first - first_, size);
        const int to = CheckedIndex(from + N - 1, size);
        if (failedBefore_[static_cast<std::size_t>(to + 1)] !=
            failedBefore_[static_cast<std::size_t>(from)]) {
            return false;
        }
        std::copy(closes_.begin() + from, closes_.begin() + to + 1, closes.Slice(0, N).begin());
        return true;
    }

private:
    int first_;
    std::vector<double> closes_;
    // failedBefore_[k]: how many of the first k lines cannot be loaded.
    std::vector<int> failedBefore_;
};

// One thread's run: 64 KB, off the thread's stack, which the engine's own arrays need.
struct TRunStorage {
    TBarTable bars;
    TRunWaves waves;
};

TMarkAtClose MarkAtClose(const TRun& run, const TStoredCloses& lines, int line,
                         TRunStorage& storage) {
    const int N = run.BarCount();
    const int first = FirstOfWindow(run, line);
    if (first < 0 || !lines.Load(first, N, storage.bars.BarClose)) {
        return std::nullopt;
    }
    try {
        WorkOutCloseWaves(storage.bars, N, run.Lag1(), run.Lag2(), storage.waves, 1);
    } catch (const QuillonError&) {
        // The window's run would have failed with this error: no chart, no mark.
        return std::nullopt;
    }
    // The newest row of that run, with TRun::MarkAt's rule for the rows before FirstTickRow.
    return N - 1 < FirstTickRow ? TTick::None : TickAt(storage.waves, N - 1);
}

std::vector<int> LinesFrom(int first, int end) {
    std::vector<int> lines;
    for (int line = std::max(first, 0); line < end; ++line) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace

void WorkOutMarksAtClose(const TRun& run, int firstLine, std::span<const int> lines,
                         TMarksAtClose& marks, unsigned threads, const TMarksProgress& progress) {
    if (marks.size() < lines.size()) {
        ThrowRangeCheckError();
    }
    const int size = static_cast<int>(marks.size());
    // The stored lines that the lines' runs take in.
    int first = run.LineCount();
    int last = -1;
    for (const int line : lines) {
        CheckedIndex(line - firstLine, size);
        if (FirstOfWindow(run, CheckedIndex(line, run.LineCount())) >= 0) {
            first = std::min(first, FirstOfWindow(run, line));
            last = std::max(last, line);
        }
    }
    const TStoredCloses stored(run, first, last);

    const unsigned allowed =
        threads != 0 ? threads : std::max(1U, std::thread::hardware_concurrency());
    std::atomic<std::size_t> done = 0;
    // Each line's entry is written by the one thread that took the line.
    ShareOut(
        lines.size(), std::min<std::size_t>(allowed, lines.size()),
        [] { return std::make_unique<TRunStorage>(); },
        [&](TRunStorage& storage, std::size_t i) {
            const int line = lines[i];
            marks[static_cast<std::size_t>(line - firstLine)] =
                MarkAtClose(run, stored, line, storage);
            const std::size_t now = ++done;
            if (progress) {
                progress(now, lines.size());
            }
        });
}

TMarksAtClose MarksAtClose(const TRun& run, unsigned threads) {
    TMarksAtClose marks(static_cast<std::size_t>(run.BarCount()));
    const int firstRowLine = run.StoreIndexOfRow(0);
    const std::vector<int> lines = LinesFrom(firstRowLine, run.StoreIndexOfRow(run.BarCount()));
    WorkOutMarksAtClose(run, firstRowLine, lines, marks, threads);
    return marks;
}

TMarksAtClose WholeFileMarksAtClose(const TRun& run, unsigned threads,
                                    const TMarksProgress& progress) {
    TMarksAtClose marks(static_cast<std::size_t>(run.LineCount()));
    const std::vector<int> lines = LinesFrom(run.BarCount() - 1, run.LineCount());
    WorkOutMarksAtClose(run, 0, lines, marks, threads, progress);
    return marks;
}

TMarksAtClose LoadedBarsPart(const TRun& run, const TMarksAtClose& wholeFile) {
    const int first = run.StoreIndexOfRow(0);
    if (first < 0 || wholeFile.size() != static_cast<std::size_t>(run.LineCount())) {
        ThrowRangeCheckError();
    }
    return TMarksAtClose(wholeFile.begin() + first, wholeFile.end());
}

TTick TurnAtClose(const TMarksAtClose& marks, int row) {
    const TMarkAtClose& mark = MarkOf(marks, row);
    if (row == 0 || !mark) {
        return TTick::None;
    }
    return TurnOf(MarkOf(marks, row - 1).value_or(TTick::None), *mark);
}

int HeldAtClose(const TMarksAtClose& marks) {
    return marks.empty() || !marks.back() ? 0 : HeldAtEnd(marks);
}

std::optional<double> TAgreement::Percent() const {
    if (marked == 0) {
        return std::nullopt;
    }
    return 100.0 * agreeing / marked;
}

TAgreement AgreementOf(const TRun& run, const TMarksAtClose& marks) {
    TAgreement agreement;
    for (int row = 0; row < run.BarCount(); ++row) {
        const TMarkAtClose& mark = MarkOf(marks, row);
        if (mark) {
            ++agreement.marked;
            agreement.agreeing += *mark == run.MarkAt(row) ? 1 : 0;
        }
    }
    return agreement;
}

TTurnCounts CountTurns(const TRun& run, const TMarksAtClose& marks) {
    TTurnCounts counts;
    for (int row = 0; row < run.BarCount(); ++row) {
        counts.atClose += TurnAtClose(marks, row) != TTick::None ? 1 : 0;
        counts.shown += TurnAt(run, row) != TTick::None ? 1 : 0;
    }
    return counts;
}

} // namespace quillon
