#include "bars/Run.h"

#include <algorithm>
#include <memory>

#include "bars/LoadNewestBars.h"
#include "base/CheckedArray.h"
#include "base/Errors.h"
#include "base/IntegerText.h"

namespace quillon {

ReadFailedError::ReadFailedError(const std::string& path, TReadFailure failure)
    : std::runtime_error("cannot read " + path + ": " + ReadFailureText(failure)) {}

void TRun::ReadFile(const std::string& path, const TReadSettings& read) {
    decimalSeparator_ = read.decimalSeparator;
    const TReadResult result = ReadBarLines(path, read, barLines_);
    lineCount_ = result.lineCount;
    firstFileLine_ = result.firstFileLine;
    readFailure_ = result.failure;
}

void TRun::LoadBars(int N, const TFileCloseListener& onClose) {
    N_ = N;
    failedLine_.reset();
    const std::int64_t firstFileLine = firstFileLine_;
    try {
        LoadNewestBars(N, lineCount_, barLines_, decimalSeparator_, bars_,
                       [&onClose, firstFileLine](int storeIndex, double close) {
                           if (onClose) {
                               onClose(firstFileLine + storeIndex, close);
                           }
                       });
    } catch (const QuillonError&) {
        // The line to name is the first that fails on its own; the load stopped there.
        const auto one = std::make_unique<TBarTable>();
        for (int index = std::max(0, lineCount_ - N); index < lineCount_ && N <= lineCount_;
             ++index) {
            try {
                LoadStoredBars(index, 1, *one);
            } catch (const QuillonError&) {
                failedLine_ = FileLineOfStored(index);
                break;
            }
        }
        throw;
    }
}

void TRun::WorkOutWaves(int W1, int W2) {
    W1_ = W1;
    W2_ = W2;
    quillon::WorkOutWaves(bars_, N_, W1, W2, waves_, waveThreads_);
}

TTick TRun::MarkAt(int row) const {
    return CarriesTick(row) ? TickAt(waves_, row) : TTick::None;
}

std::int64_t TRun::FileLineOfRow(int row) const {
    return FileLineOfStored(StoreIndexOfRow(row));
}

std::string_view TRun::LineOfRow(int row) const {
    if (row < 0 || row >= N_) {
        ThrowRangeCheckError();
    }
    return barLines_[lineCount_ - N_ + row];
}

std::string_view TRun::StoredLine(int index) const {
    return barLines_[CheckedIndex(index, lineCount_)];
}

void TRun::LoadStoredBars(int first, int count, TBarTable& bars) const {
    if (first < 0 || count < 0 || count > lineCount_ - first) {
        ThrowRangeCheckError();
    }
    LoadNewestBars(count, first + count, barLines_, decimalSeparator_, bars, [](int, double) {});
}

std::string RunFailureText(const QuillonError& error, const TRun& run, int N) {
    if (dynamic_cast<const RangeCheckError*>(&error) != nullptr && run.LineCount() < N) {
        return "only " + IntegerToText(run.LineCount()) + " lines, fewer than the " +
               IntegerToText(N) + " bars asked for";
    }
    // A bad line is named as an editor counts lines, from 1, before what is wrong with it.
    if (const std::optional<std::int64_t> line = run.FailedLine()) {
        return "line " + GroupedDigits(static_cast<std::uint64_t>(*line) + 1) + ": " +
               error.Message();
    }
    return error.Message();
}

void WorkOutRun(const std::string& path, const TRunNumbers& numbers, const TReadSettings& read,
                TRun& run) {
    run.ReadFile(path, read);
    if (run.ReadFailure() != TReadFailure::None) {
        throw ReadFailedError(path, run.ReadFailure());
    }
    try {
        run.LoadBars(numbers.N);
        run.WorkOutWaves(numbers.W1, numbers.W2);
    } catch (const QuillonError& error) {
        throw RunFailedError(RunFailureText(error, run, numbers.N));
    }
}

} // namespace quillon
