#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bars/MarksAtCloseCache.h"
#include "bars/TrackRecord.h"
#include "bars/WatchRow.h"
#include "tools/ScanTable.h"
#include "tools/TrackOptions.h"

namespace quillon {

// What a row holds beyond what its run says of the newest bar.
struct TRowExtras {
    // The marks at close summed up (TWatchRow::atClose).
    bool atClose = false;
    // The track records summed up (TWatchRow::track), the whole file's too where asked for.
    TTrackRequest track;

    TScanColumns Columns() const { return {atClose, track.track, track.wholeFile}; }
};

// Told, from any of the threads at work, how many of the files are worked out, of how many; it
// must not raise.
using TFilesProgress = std::function<void(std::size_t done, std::size_t total)>;

// The rows of quillon-scan: one for each FILE operand as given and one for each bar file of each
// DIR operand (BarFileNames), the files worked out on up to jobs threads, each thread with its own
// run. A file met twice (the same real path: given twice, or given and found in a DIR) is one row,
// under the path it is first met by, the operands in their order and a DIR's files in name order.
// A DIR that cannot be listed gives a row of its own with the reason. Sorted by file name
// (BarFileNameLess), then by path.
//
// With extras, each row of a complete run gets them, the marks at close they need worked out
// afresh: a caller that goes on with the files has the live pipeline keep them. progress is told
// after each file.
std::vector<TWatchRow> ScanRows(const std::vector<std::string>& operands,
                                const TRunNumbers& numbers, const TReadSettings& read, int jobs,
                                const TRowExtras& extras = {}, const TFilesProgress& progress = {});

// The row of a run of the keeper's file that completed gets extras, the marks at close worked out
// on up to `threads` threads (0: one a processor): the loaded bars', or every line's for the whole
// file's record. Storage that cannot be had, or a record whose points overflow, is the row's
// failure.
void AddExtras(const TRun& run, TMarksAtCloseCache& keeper, unsigned threads,
               const TRowExtras& extras, TWatchRow& row);

// The summaries of records as with spread points off each trade, whatever spread they were
// worked out with.
TTrackSummaries SummariesWithSpread(const TTrackRecords& records, std::int64_t spread);

// What tells one file from another: its real path, the links in it followed and "." and ".."
// resolved as far as the file and its folders exist; else the path made absolute, or as given.
std::string RealPath(const std::string& path);

} // namespace quillon
