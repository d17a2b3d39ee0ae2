#include "bars/MarksAtClose.h"

#include <algorithm>
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

// The first stored line of the N that end at bar row `row`'s; below 0 when the file held fewer.
int FirstLineOfRow(const TRun& run, int row) {
    return run.StoreIndexOfRow(row) - (run.BarCount() - 1);
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

TMarkAtClose MarkAtClose(const TRun& run, const TStoredCloses& lines, int row,
                         TRunStorage& storage) {
    const int N = run.BarCount();
    const int first = FirstLineOfRow(run, row);
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

} // namespace

void WorkOutMarksAtClose(const TRun& run, std::span<const int> rows, TMarksAtClose& marks,
                         unsigned threads) {
    const int N = run.BarCount();
    if (marks.size() < static_cast<std::size_t>(N)) {
        ThrowRangeCheckError();
    }
    // The stored lines that the rows' runs take in.
    int first = run.StoreIndexOfRow(N);
    int last = -1;
    for (const int row : rows) {
        if (FirstLineOfRow(run, CheckedIndex(row, N)) >= 0) {
            first = std::min(first, FirstLineOfRow(run, row));
            last = std::max(last, run.StoreIndexOfRow(row));
        }
    }
    const TStoredCloses lines(run, first, last);

    const unsigned allowed =
        threads != 0 ? threads : std::max(1U, std::thread::hardware_concurrency());
    // Each row's entry is written by the one thread that took the row.
    ShareOut(
        rows.size(), std::min<std::size_t>(allowed, rows.size()),
        [] { return std::make_unique<TRunStorage>(); },
        [&](TRunStorage& storage, std::size_t i) {
            const int row = CheckedIndex(rows[i], N);
            marks[static_cast<std::size_t>(row)] = MarkAtClose(run, lines, row, storage);
        });
}

TMarksAtClose MarksAtClose(const TRun& run, unsigned threads) {
    TMarksAtClose marks(static_cast<std::size_t>(run.BarCount()));
    std::vector<int> rows(marks.size());
    for (int row = 0; row < run.BarCount(); ++row) {
        rows[static_cast<std::size_t>(row)] = row;
    }
    WorkOutMarksAtClose(run, rows, marks, threads);
    return marks;
}

TTick TurnAtClose(const TMarksAtClose& marks, int row) {
    const TMarkAtClose& mark = MarkOf(marks, row);
    if (row == 0 || !mark || *mark == TTick::None) {
        return TTick::None;
    }
    return MarkOf(marks, row - 1) != mark ? *mark : TTick::None;
}

int HeldAtClose(const TMarksAtClose& marks) {
    if (marks.empty() || !marks.back()) {
        return 0;
    }
    const auto other = std::find_if(marks.rbegin(), marks.rend(),
                                    [&marks](const TMarkAtClose& m) { return m != marks.back(); });
    return static_cast<int>(other - marks.rbegin());
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
