#include "bars/RunCore.h"

#include "bars/LoadNewestBars.h"

namespace quillon {

namespace {

std::string ReasonOf(TReadFailure failure) {
    switch (failure) {
    case TReadFailure::None:
        break;
    case TReadFailure::NoSuchFile:
        return "no such file";
    case TReadFailure::NotARegularFile:
        return "not a regular file";
    case TReadFailure::PermissionDenied:
        return "permission denied";
    case TReadFailure::HeldOrBeingWritten:
        return "held or being written by another program";
    case TReadFailure::ReadError:
        return "read error";
    }
    return "read";
}

} // namespace

ReadFailedError::ReadFailedError(const std::string& path, TReadFailure failure)
    : std::runtime_error("cannot read " + path + ": " + ReasonOf(failure)) {}

void TRunCore::ReadFile(const std::string& path, const TReadSettings& read) {
    decimalSeparator_ = read.decimalSeparator;
    const TReadResult result = ReadBarFile(path, read, barLines_);
    lineCount_ = result.lineCount;
    firstFileLine_ = result.firstFileLine;
    readFailure_ = result.failure;
}

void TRunCore::LoadBars(int N, const TFileCloseListener& onClose) {
    N_ = N;
    const std::int64_t firstFileLine = firstFileLine_;
    LoadNewestBars(N, lineCount_, barLines_, decimalSeparator_, bars_,
                   [&onClose, firstFileLine](int storeIndex, double close) {
                       if (onClose) {
                           onClose(firstFileLine + storeIndex, close);
                       }
                   });
}

void TRunCore::WorkOutWaves(int W1, int W2) {
    quillon::WorkOutWaves(bars_, N_, W1, W2, waves_);
}

std::int64_t TRunCore::FileLineOfRow(int row) const {
    return firstFileLine_ + lineCount_ - N_ + row;
}

void WorkOutRun(const std::string& path, const TRunNumbers& numbers, const TReadSettings& read,
                TRunCore& run) {
    run.ReadFile(path, read);
    if (run.ReadFailure() != TReadFailure::None) {
        throw ReadFailedError(path, run.ReadFailure());
    }
    run.LoadBars(numbers.N);
    run.WorkOutWaves(numbers.W1, numbers.W2);
}

} // namespace quillon
