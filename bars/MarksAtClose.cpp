#include "bars/MarksAtClose.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <system_error>
#include <thread>

#include "bars/Turns.h"
#include "base/Errors.h"

namespace quillon {

namespace {

// One thread's run: 64 KB, off the thread's stack, which the engine's own arrays need.
struct TRunStorage {
    TBarTable bars;
    TRunWaves waves;
};

const TMarkAtClose& MarkOf(const TMarksAtClose& marks, int row) {
    return marks[static_cast<std::size_t>(CheckedIndex(row, static_cast<int>(marks.size())))];
}

} // namespace

TMarkAtClose MarkAtClose(const TRun& run, int row, TBarTable& bars, TRunWaves& waves) {
    const int N = run.BarCount();
    const int last = run.StoreIndexOfRow(CheckedIndex(row, N));
    if (last - N + 1 < 0) {
        return std::nullopt;
    }
    try {
        run.LoadBarsEndingAt(last, bars);
        WorkOutCloseWaves(bars, N, run.Lag1(), run.Lag2(), waves, 1);
    } catch (const QuillonError&) {
        // The window's run would have failed with this error: no chart, no mark.
        return std::nullopt;
    }
    // The newest row of that run, with TRun::MarkAt's rule for the rows before FirstTickRow.
    return N - 1 < FirstTickRow ? TTick::None : TickAt(waves, N - 1);
}

void WorkOutMarksAtClose(const TRun& run, std::span<const int> rows, TMarksAtClose& marks,
                         unsigned threads) {
    if (marks.size() < static_cast<std::size_t>(run.BarCount())) {
        ThrowRangeCheckError();
    }
    const unsigned allowed =
        threads != 0 ? threads : std::max(1U, std::thread::hardware_concurrency());
    const std::size_t workers = std::min<std::size_t>(allowed, rows.size());
    std::atomic<std::size_t> next = 0;
    std::vector<std::exception_ptr> errors(workers);
    // Each row's entry is written by the one thread that took the row.
    const auto work = [&](std::size_t worker) {
        try {
            const auto storage = std::make_unique<TRunStorage>();
            for (std::size_t i = next++; i < rows.size(); i = next++) {
                const int row = CheckedIndex(rows[i], run.BarCount());
                marks[static_cast<std::size_t>(row)] =
                    MarkAtClose(run, row, storage->bars, storage->waves);
            }
        } catch (...) {
            errors[worker] = std::current_exception();
        }
    };
    if (workers > 0) {
        std::vector<std::jthread> pool;
        try {
            for (std::size_t worker = 1; worker < workers; ++worker) {
                pool.emplace_back(work, worker);
            }
        } catch (const std::system_error&) {
            // No thread to spare: the threads there are, this one included, do all the rows.
        }
        work(0);
    }
    for (const std::exception_ptr& error : errors) {
        if (error) {
            std::rethrow_exception(error);
        }
    }
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
