#include "bars/RunCore.h"

#include "bars/LoadNewestBars.h"
#include "bars/ReadBarLines.h"

namespace quillon {

void TRunCore::ReadFile(const std::string& path, const TReadSettings& read) {
    decimalSeparator_ = read.decimalSeparator;
    lineCount_ = ReadBarLines(path, read, barLines_, firstFileLine_);
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
    run.LoadBars(numbers.N);
    run.WorkOutWaves(numbers.W1, numbers.W2);
}

} // namespace quillon
