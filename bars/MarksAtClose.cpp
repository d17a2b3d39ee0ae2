#include "bars/MarksAtClose.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <numeric>

#include "bars/Turns.h"
#include "base/Errors.h"
#include "base/ShareOut.h"
#include "engine/NewestWaveValues.h"

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

    // Whether lines first..first+N-1 all load.
    bool AllLoad(int first, int N) const {
        const int size = static_cast<int>(closes_.size());
        const int from = CheckedIndex(first - first_, size);
        const int to = CheckedIndex(from + N - 1, size);
        return failedBefore_[static_cast<std::size_t>(to + 1)] ==
               failedBefore_[static_cast<std::size_t>(from)];
    }

    // The first line's index, and the closes of all the lines from it on (0 for a line that
    // cannot be loaded).
    int First() const { return first_; }
    std::span<const double> Closes() const { return closes_; }

private:
    int first_;
    std::vector<double> closes_;
    // failedBefore_[k]: how many of the first k lines cannot be loaded.
    std::vector<int> failedBefore_;
};

// One thread's close waves of the windows along the stored lines: for each lag, entries N-3 and
// N-2 of WorkOutCloseWaves's wave, bit for bit (engine/NewestWaveValues.h), or that it fails. A
// thread takes the lines in runs one after the next, so that each window shares all but one column
// of its lag covariance with the one before. With equal lags the one wave is both, as in the batch.
struct TCloseWaveMakers {
    TCloseWaveMakers(std::span<const double> closes, int N, int W1, int W2) {
        if (N >= 1 && N <= SeriesCapacity) {
            wave1 = std::make_unique<TNewestWaveMaker>(closes, N, W1, WaveComponentsWorkedOut,
                                                       CloseWaveComponent);
            if (W2 != W1) {
                wave2 = std::make_unique<TNewestWaveMaker>(closes, N, W2, WaveComponentsWorkedOut,
                                                           CloseWaveComponent);
            }
        }
    }

    std::unique_ptr<TNewestWaveMaker> wave1;
    std::unique_ptr<TNewestWaveMaker> wave2;
};

// TickAt's rule for the newest row, N-1, on the two entries of each wave that it reads.
TTick NewestTick(const TNewestWaveValues& wave1, const TNewestWaveValues& wave2) {
    return TickOf(wave1.beforeLast, wave1.last, wave2.beforeLast, wave2.last);
}

TMarkAtClose MarkAtClose(const TRun& run, const TStoredCloses& stored, int line,
                         TCloseWaveMakers& makers) {
    const int N = run.BarCount();
    const int first = FirstOfWindow(run, line);
    if (!makers.wave1 || first < 0 || !stored.AllLoad(first, N)) {
        return std::nullopt;
    }
    const int end = line - stored.First();
    const TNewestWaveValues wave1 = makers.wave1->At(end);
    const TNewestWaveValues wave2 = makers.wave2 ? makers.wave2->At(end) : wave1;
    if (wave1.failed || wave2.failed) {
        // The window's run would have failed with this error: no chart, no mark.
        return std::nullopt;
    }
    // The newest row of that run.
    return CarriesTick(N - 1) ? NewestTick(wave1, wave2) : TTick::None;
}

// Runs of lines a thread, so that a thread held up leaves runs to the others; each run starts its
// lag covariances afresh, which costs about one window's solve.
constexpr std::size_t RunsPerThread = 4;

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

    // The lines in file order, cut into runs of neighbours.
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&lines](std::size_t a, std::size_t b) { return lines[a] < lines[b]; });
    const unsigned allowed = ThreadsAllowed(threads);
    const std::size_t workers = std::min<std::size_t>(allowed, lines.size());
    const std::size_t runs = std::min(lines.size(), workers * RunsPerThread);
    std::atomic<std::size_t> done = 0;
    // Each line's entry is written by the one thread that took the line's run.
    ShareOut(
        runs, workers,
        [&] {
            return std::make_unique<TCloseWaveMakers>(stored.Closes(), run.BarCount(), run.Lag1(),
                                                      run.Lag2());
        },
        [&](TCloseWaveMakers& makers, std::size_t r) {
            for (std::size_t k = lines.size() * r / runs; k < lines.size() * (r + 1) / runs; ++k) {
                const int line = lines[order[k]];
                marks[static_cast<std::size_t>(line - firstLine)] =
                    MarkAtClose(run, stored, line, makers);
                const std::size_t now = ++done;
                if (progress) {
                    progress(now, lines.size());
                }
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
