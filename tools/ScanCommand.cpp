#include "tools/ScanCommand.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "bars/ReadPolicy.h"
#include "base/IntegerText.h"
#include "base/ShareOut.h"
#include "tools/ProgressLine.h"
#include "tools/RunOptions.h"
#include "tools/ScanFiles.h"
#include "tools/ScanTable.h"

namespace quillon {

namespace {

std::string Usage(int processors, const TTrackOptions& track) {
    return R"(Usage: quillon-scan DIR|FILE... [--bars N] [--w1 L] [--w2 L] [--jobs N] [--format csv|json]
                    [--at-close] [--track [--whole-file] [--spread S]] [--follow [--turns]]

Works out each bar file as the Quillon window does and writes what its newest bar says, one row
a file, to standard output. A DIR stands for its bar files, as the window's watch list takes them:
its *.csv files (the ending in any case) that are files or links to files; hidden files, folders
and broken links are left out, and subfolders are not entered. A file met twice (given twice, or
given and found in a DIR given: the same real path) is one row, under the path first met. The
rows are sorted by file name, byte by byte (Z.csv before a.csv), then by path. The columns:

  file      the file's path, a DIR's files as DIR/NAME
  symbol    the symbol, where the file's name is the terminal's: the symbol, then the period's
            minutes (EURUSD60.csv); period the period the trader's way (M1, M5, M15, M30, H1,
            H4, D1, W1, MN1) and minutes its length
  date, time, close
            the newest bar's, as the file gives them
  mark      up where both close waves rose over the step before the newest bar, down where both
            fell, mixed otherwise
  held      for how many bars, the newest included, that mark has held
  wave1     which way the first close wave went into the newest bar: rising, falling or flat
  failure   why the file could not be worked out, when it could not: then the columns from date
            on are empty (no such file, held or being written by another program, fewer lines
            than N, a price that is not a number...)

The waves are worked out over the N bars at once, so those near the newest bar are redrawn as
bars arrive, and with them the marks. A bar's mark at close is the one it showed when it was the
newest: the newest bar's mark of the run on the file's lines up to the bar's, with the same N and
lags (the newest bar's own is its mark, until the next bar appears). With --at-close, three more
columns say how the marks have held up:

  mark_at_close
            the newest bar's mark at close: up, down or mixed
  held_at_close
            for how many bars, the newest included, the marks at close have been that one: the
            bars since they last turned
  agree     of the loaded bars with a mark at close (those with N lines up to their own), the
            share in % whose mark at close is the mark shown now, to a tenth

With --track, the columns after all others sum up what the marks were worth traded stop and
reverse (see quillon-waves --trades), before costs unless --spread is given: for the chart's
marks over the loaded bars (the names end in _chart), for the marks at close over the same bars
(_at_close) and, with --whole-file, for the marks at close of every line with N lines up to it
(_whole_file), which takes a run a line:

  trades_*  the trades closed; the position still open is in no column
  won_*     those of them that made more than 0 points
  win_low_*, win_high_*
            the 95 % Wilson score interval of the share won, in %, to a tenth; empty before a
            trade has closed
  points_*  the closed trades' points summed, in the file's points (10^-D, D the most decimals
            of any price in the file)
  profit_factor_*
            the points won over the points lost, to two decimals; empty where none was lost
  drawdown_*
            the largest fall in points of the closed trades' running total from its highest so
            far, the total starting at 0

CSV with a header line, a field quoted where it holds a comma, a quote or a line end; with
--format json, an array of objects with the same names, null for what a row lacks, minutes,
held, held_at_close, agree and the track records' figures as numbers, and a byte that is not
UTF-8 read as Latin-1. While the track records are worked out, a line on standard error says how
many files are done, when it is a terminal.

  --jobs N   files worked out side by side, 1 to )" +
           IntegerToText(MaxScanJobs) + " (default: the processors, " + IntegerToText(processors) +
           R"( here)
  --format F csv or json (default csv)
  --at-close add the columns mark_at_close, held_at_close and agree
  --track    add the columns of the track records
)" + track.Usage() +
           R"(  --follow   after the table, keep watching the files and folders given and write a row each
             time a file's run changes: a rewrite has settled (a tenth of a second after its last
             change), a file came, or one went (its row says "no such file"); as JSON, one object
             a line. Each row is written at once; SIGINT or SIGTERM ends the program with status 0
  --turns    with --follow, only the rows whose newest bar turned (its mark held one bar), the
             table's too, each file, bar and direction once
)" + RunOptionsUsage() +
           RunReadingUsage() +
           ExitStatusUsage(
               ScanProgram,
               {.success = "when at least one file was worked out",
                .failure = "when none could be, or when standard output cannot be written",
                .reason = "says why (standard output's, when both)",
                .usageErrors = "an unknown option, no DIR or FILE, a value out of its range, "
                               "--turns, --whole-file or --spread without the option they go "
                               "with, or a default lag above N",
                .more = "With --follow, 0 when SIGINT or SIGTERM ends it, whether or not a file "
                        "could be worked out, and 1 when standard output cannot be written; a "
                        "folder given that is not there is said at once, with 1."});
}

bool ReadFormat(const std::string& text, TScanFormat& format) {
    format = text == "json" ? TScanFormat::Json : TScanFormat::Csv;
    return text == "json" || text == "csv";
}

} // namespace

std::vector<TWatchRow> ScanRowsShowingProgress(const TScanRequest& request, char decimalSeparator) {
    TProgressLine progress(ScanProgram, STDERR_FILENO);
    TFilesProgress tell;
    if (request.extras.track.track) {
        tell = [&progress](std::size_t done, std::size_t total) { progress.Tell(done, total); };
    }
    return ScanRows(request.operands, request.numbers, ScriptRead(decimalSeparator), request.jobs,
                    request.extras, tell);
}

int ProcessorCount() {
    cpu_set_t set;
    if (::sched_getaffinity(0, sizeof(set), &set) == 0) {
        return std::max(1, CPU_COUNT(&set));
    }
    return static_cast<int>(ThreadsAllowed(0));
}

std::optional<int> ReadScanRequest(std::span<const std::string_view> args, int processors,
                                   TScanRequest& request, std::string& out, std::string& err) {
    const int byDefault = std::clamp(processors, 1, MaxScanJobs);
    TTrackOptions trackOptions("--track");
    const std::string usage = Usage(byDefault, trackOptions);
    TTrackRequest& track = request.extras.track;
    const std::array<TOption, 2> trackTable = trackOptions.Table(track);
    std::string jobsText = IntegerToText(byDefault);
    std::string formatText = "csv";
    std::string jobsTyped;
    std::string formatTyped;
    const TOption extra[] = {{"jobs", 0, &jobsText, nullptr, &jobsTyped},
                             {"format", 0, &formatText, nullptr, &formatTyped},
                             {"follow", 0, nullptr, &request.follow},
                             {"turns", 0, nullptr, &request.turns},
                             {"at-close", 0, nullptr, &request.extras.atClose},
                             {"track", 0, nullptr, &track.track},
                             trackTable[0],
                             trackTable[1]};
    if (const std::optional<int> status =
            ReadRunCommandLine(ScanProgram, args, extra, usage, {"DIR or FILE", true},
                               request.operands, request.numbers, out, err)) {
        return status;
    }
    std::string reason;
    if (!ReadIntegerOption("--jobs", jobsText, 1, MaxScanJobs, request.jobs, reason, jobsTyped)) {
        return UsageError(ScanProgram, reason, err);
    }
    if (!ReadFormat(formatText, request.format)) {
        return UsageError(ScanProgram, formatTyped + ": not csv or json", err);
    }
    if (request.turns && !request.follow) {
        return UsageError(ScanProgram, "--turns: only with --follow", err);
    }
    if (!trackOptions.Check(track, reason)) {
        return UsageError(ScanProgram, reason, err);
    }
    return std::nullopt;
}

int ScanOnce(const TScanRequest& request, char decimalSeparator, std::string& out,
             std::string& err) {
    std::vector<TWatchRow> rows;
    const int status = ReportFailures(
        ScanProgram,
        [&] {
            rows = ScanRowsShowingProgress(request, decimalSeparator);
            out += ScanTable(rows, request.format, request.extras.Columns());
        },
        err);
    const bool anyDone = std::any_of(rows.begin(), rows.end(),
                                     [](const TWatchRow& row) { return row.failure.empty(); });
    if (status == ExitSuccess && !anyDone) {
        err += std::string(ScanProgram) + ": " +
               (rows.empty() ? "no *.csv file found" : "no file could be worked out") + "\n";
        return ExitFailure;
    }
    return status;
}

} // namespace quillon
