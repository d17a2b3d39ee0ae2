#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bars/MarksAtClose.h"
#include "bars/Run.h"

namespace quillon {

// The marks at close of one file's runs, kept from one run to the next: a rewrite that adds a bar
// changes the lines of two runs only (those of the bar that closed and of the new one forming),
// where working out the marks afresh makes N runs. Not for two threads at once.
class TMarksAtCloseCache {
public:
    // The marks at close of run, a complete run of the keeper's file. A row whose N lines are, byte
    // for byte, those of a row of the last run given, with the same bar count, lags and decimal
    // separator, takes that row's mark; the others are worked out on up to `threads` threads (0:
    // one a processor). Raises only what is no run's failure (out of memory), and then keeps
    // nothing, so that the next run is worked out afresh.
    const TMarksAtClose& Update(const TRun& run, unsigned threads = 0);

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

    // The rows of run whose N lines are those of a kept row, their marks taken into marks; the
    // others, which have N lines, into rows.
    void TakeKept(const TRun& run, int firstLine, TMarksAtClose& marks,
                  std::vector<int>& rows) const;

    std::optional<TSettings> settings_;
    // The stored lines of the last run from the oldest that a row's N lines take in, oldest first,
    // and the index among them of bar row 0's line.
    std::vector<std::string> lines_;
    int firstRowLine_ = 0;
    TMarksAtClose marks_;
    int runsWorkedOut_ = 0;
};

} // namespace quillon
