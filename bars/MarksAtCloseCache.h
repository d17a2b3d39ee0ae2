#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bars/MarksAtClose.h"
#include "bars/Run.h"

namespace quillon {

// The marks at close of one file's runs, kept from one run to the next: a rewrite that adds a bar
// changes the lines of two runs only (those of the bar that closed and of the new one forming),
// where working out the marks afresh makes one run a line. Not for two threads at once.
class TMarksAtCloseCache {
public:
    // Which lines' marks an update works out: the loaded bars' (entry r for bar row r), or every
    // stored line's (entry i for stored line i; see WholeFileMarksAtClose).
    enum class TScope { LoadedBars, WholeFile };

    // The marks at close of run, a complete run of the keeper's file. A line whose N lines are,
    // byte for byte, those of a line marked by the last update, with the same bar count, lags and
    // decimal separator, takes that line's mark; the others are worked out on up to `threads`
    // threads (0: one a processor), telling progress of them. Raises only what is no run's
    // failure (out of memory), and then keeps nothing, so that the next run is worked out afresh.
    const TMarksAtClose& Update(const TRun& run, unsigned threads = 0,
                                TScope scope = TScope::LoadedBars,
                                const TMarksProgress& progress = {});

    // The marks of the last Update, empty before the first.
    const TMarksAtClose& Marks() const { return marks_; }
    // How many runs the last Update worked out.
    int RunsWorkedOut() const { return runsWorkedOut_; }

private:
    struct TSettings {
        int N = 0;
        int W1 = 0;
        int W2 = 0;
        char decimalSeparator = '.';
        bool operator==(const TSettings&) const = default;
    };

    // The lines from fromLine on whose N lines are those of a kept marked line, their marks taken
    // into marks (entry line - fromLine); the others that have N lines, into lines.
    void TakeKept(const TRun& run, int firstLine, int fromLine, TMarksAtClose& marks,
                  std::vector<int>& lines) const;

    std::optional<TSettings> settings_;
    // The stored lines of the last run from the oldest that a marked line's N lines take in, oldest
    // first, and the index among them of the first marked line.
    std::vector<std::string> lines_;
    int firstMarkedLine_ = 0;
    TMarksAtClose marks_;
    int runsWorkedOut_ = 0;
};

} // namespace quillon
