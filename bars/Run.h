#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "bars/BarData.h"
#include "bars/BarLines.h"
#include "bars/ReadBarLines.h"
#include "bars/RunWaves.h"

namespace quillon {

// What a run is: one read of the bar file, the newest N bars of it loaded, and the four waves of
// those bars worked out. It takes a path, the numbers below and how to read (TReadSettings); its
// result is the loaded bars, their waves and marks, and each bar's line in the file. Showing the
// result (the window's chart, a picture, CSV) and what a failure means are the caller's.

// The numbers a run works with once its settings are converted.
struct TRunNumbers {
    int N = DefaultBarCount;
    int W1 = DefaultLag1;
    int W2 = DefaultLag2;
};

// Told of each bar's line index in the file and its close price, before the bar's row is written.
using TFileCloseListener = std::function<void(std::int64_t fileLine, double close)>;

// A run with its own storage, kept from one run to the next as the window keeps its line store
// and bar table. The steps are separate so that the window can put its guard and its provisional
// close line between them; each raises the program's errors, except ReadFile, which never raises.
// About 64 KB in itself (the line store keeps its lines on the heap): one may live on a stack.
class TRun {
public:
    // Reads the whole file into the line store (see ReadBarLines).
    void ReadFile(const std::string& path, const TReadSettings& read);
    // Loads the newest N stored lines into bar rows 0..N-1 (see LoadNewestBars), reading prices
    // with the read's decimal separator.
    void LoadBars(int N, const TFileCloseListener& onClose = {});
    // CloseWave1, CloseWave2, OpenWave1, OpenWave2 of the loaded bars.
    void WorkOutWaves(int W1, int W2);
    // How many threads may work out the waves side by side: 0 (the default) for one a processor,
    // 1 where runs already go side by side, one a thread.
    void SetWaveThreads(unsigned threads) { waveThreads_ = threads; }

    // The line index in the file of the first loaded line that could not be loaded by the last
    // LoadBars; none when every line loaded, or when the file had fewer than N lines.
    std::optional<std::int64_t> FailedLine() const { return failedLine_; }
    // Why the last ReadFile failed; TReadFailure::None after a read that succeeded.
    TReadFailure ReadFailure() const { return readFailure_; }
    int BarCount() const { return N_; }
    // How many lines the last read stored.
    int LineCount() const { return lineCount_; }
    const TBarTable& Bars() const { return bars_; }
    const TRunWaves& Waves() const { return waves_; }
    // The mark of bar row `row` (see TickAt); none on the first FirstTickRow rows.
    TTick MarkAt(int row) const;
    // The line index in the file (counted from 0) of bar row `row`: a file of more than
    // BarLinesCapacity lines keeps only its newest lines, so this is not the store's index.
    std::int64_t FileLineOfRow(int row) const;
    // The stored line of bar row `row`, its text as the file gives it; the range error for a row
    // outside 0..BarCount()-1. Valid until the next ReadFile.
    std::string_view LineOfRow(int row) const;

    // For the runs that the file's earlier states gave, each ending at an older line (the marks at
    // close): the lags of the last WorkOutWaves, the read's decimal separator, the stored lines.
    int Lag1() const { return W1_; }
    int Lag2() const { return W2_; }
    char DecimalSeparator() const { return decimalSeparator_; }
    // The index in the line store of bar row `row`'s line: the stored lines below it are the
    // file's older lines, which LoadBars left out.
    int StoreIndexOfRow(int row) const { return lineCount_ - N_ + row; }
    // Stored line `index`, its text as the file gives it; the range error for an index outside
    // 0..LineCount()-1. Valid until the next ReadFile.
    std::string_view StoredLine(int index) const;
    // The line index in the file (counted from 0) of stored line `index`.
    std::int64_t FileLineOfStored(int index) const { return firstFileLine_ + index; }
    // Loads stored lines first..first+count-1 into bar rows 0..count-1 of bars, as LoadBars loads
    // the newest. Raises what LoadBars raises, and the range error when those lines are not all
    // stored.
    void LoadStoredBars(int first, int count, TBarTable& bars) const;

private:
    TBarLines barLines_;
    TBarTable bars_;
    TRunWaves waves_;
    char decimalSeparator_ = '.';
    int lineCount_ = 0;
    TReadFailure readFailure_ = TReadFailure::None;
    std::int64_t firstFileLine_ = 0;
    std::optional<std::int64_t> failedLine_;
    int N_ = 0;
    int W1_ = 0;
    int W2_ = 0;
    unsigned waveThreads_ = 0;
};

// A read that failed, named with its path and reason for a script's author: "cannot read PATH:
// no such file". Not one of the window's errors, which never names a failed read.
class ReadFailedError : public std::runtime_error {
public:
    ReadFailedError(const std::string& path, TReadFailure failure);
};

// Why a run that read its file stopped at error, in the words that the window, the watch list and
// every tool use: a short file is said as such rather than as the range error it raises, a line
// that cannot be loaded is named by its number; any other error is its message.
std::string RunFailureText(const QuillonError& error, const TRun& run, int N);

// A run that read its file and stopped, with RunFailureText's words.
class RunFailedError : public QuillonError {
public:
    using QuillonError::QuillonError;
};

// The three steps in one call, every failure raised: for the programs that report them. A failed
// read raises ReadFailedError, not the load's error that would follow from it; a failure of the
// file's content or of the computation raises RunFailedError.
void WorkOutRun(const std::string& path, const TRunNumbers& numbers, const TReadSettings& read,
                TRun& run);

} // namespace quillon
