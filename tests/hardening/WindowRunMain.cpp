#include <fstream>
#include <iostream>
#include <string>

#include "tests/bars/BarTestFiles.h"
#include "tests/bars/RunOutcome.h"

// The peak resident memory of this program's own image. The exit status's resource figures would
// also count the memory of the process that started it, which it held before starting this one.
long PeakMemoryKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string field;
    while (status >> field && field != "VmHWM:") {
    }
    long kilobytes = -1;
    status >> kilobytes;
    return kilobytes;
}

// One window run in a process of its own, so that its peak memory can be measured and it can run
// under another user: window-run PATH BARS W1 W2 prints how the run ended and, on a second line,
// the peak memory in kilobytes.
int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: window-run PATH BARS W1 W2\n";
        return 2;
    }
    quillon::TBarLines barLines;
    quillon::TBarTable bars;
    quillon::TChartModel chart;
    std::cout << quillon::RunAndJudge({argv[2], argv[3], argv[4], argv[1], quillon::NoPause},
                                      barLines, bars, chart)
              << '\n'
              << PeakMemoryKilobytes() << '\n';
    return 0;
}
