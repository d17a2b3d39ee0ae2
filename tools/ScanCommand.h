#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bars/Run.h"
#include "tools/ScanFiles.h"
#include "tools/ScanTable.h"

namespace quillon {

inline constexpr std::string_view ScanProgram = "quillon-scan";

// The most files worked out side by side: past the processors, more threads only share them.
inline constexpr int MaxScanJobs = 256;

// What quillon-scan is asked for: its operands, the run's numbers and its own options.
struct TScanRequest {
    std::vector<std::string> operands;
    TRunNumbers numbers;
    int jobs = 1;
    TScanFormat format = TScanFormat::Csv;
    // After the table, a row for each run that changes, until a signal ends the program.
    bool follow = false;
    // Only the rows whose newest bar turned, once per file, bar and direction; with follow only.
    bool turns = false;
    // The columns of the marks at close, of the track records.
    TRowExtras extras;
};

// Reads quillon-scan's arguments (those after the program's name) into request; --jobs is
// processors unless given. The status the program ends with when it goes no further (a usage error
// on err; --help or --version on out), nothing when it should go on.
std::optional<int> ReadScanRequest(std::span<const std::string_view> args, int processors,
                                   TScanRequest& request, std::string& out, std::string& err);

// The table of request's files, prices read with decimalSeparator: its text on out, a failure on
// err; returns the exit status.
int ScanOnce(const TScanRequest& request, char decimalSeparator, std::string& out,
             std::string& err);

// The rows of request's files as ScanRows works them out, and while the
// track records are worked out, how many files are done on standard error when it is a terminal,
// the line cleared before this returns.
std::vector<TWatchRow> ScanRowsShowingProgress(const TScanRequest& request, char decimalSeparator);

// The processors this process may run on.
int ProcessorCount();

} // namespace quillon
