#include "tools/WavesCommand.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

#include "bars/MarksAtClose.h"
#include "bars/ReadPolicy.h"
#include "bars/Run.h"
#include "bars/WatchRow.h"
#include "tools/ToolCommand.h"
#include "tools/TrackOptions.h"
#include "tools/TradesCsv.h"

namespace quillon {

namespace {

std::string Usage(const TTrackOptions& track) {
    return R"(Usage: quillon-waves FILE [--bars N] [--w1 L] [--w2 L] [--at-close]
       quillon-waves FILE --trades [--whole-file] [--spread S] [--bars N] [--w1 L] [--w2 L]

Reads the newest N bars of a bar file (one bar a line: date,time,open,high,low,close,volume),
works out their four waves as the Quillon window does, and writes one CSV row per bar to
standard output, oldest bar first:

  row,line,open,high,low,close,close_wave1,close_wave2,open_wave1,open_wave2,mark

line is the bar's line index in the file, counted from 0; mark is "up" or "down" where both
close waves rose, or both fell, over the step before the row, and empty otherwise and for rows
0 to 2. Numbers are written in their shortest form that reads back to the same double.

The waves are worked out over the N bars at once, so those near the newest bar are redrawn as
bars arrive, and with them the marks. With --at-close a last column, mark_at_close, gives the
mark that each bar showed when it was the newest: the newest row's mark of the run on the file's
lines up to the bar's, with the same N and lags; empty where that mark was none, where fewer
than N lines end at the bar's and where that run fails. The newest bar's is provisional until the
next bar appears.

With --trades it writes, in place of the bars, the trades of the marks traded stop and reverse,
one CSV row a trade:

  record,direction,opened_line,opened_date,opened_time,opened_price,closed_line,closed_date,
  closed_time,closed_price,points

record is "chart" for the chart's marks over the loaded bars, then "at_close" for the marks at
close over the same bars and, with --whole-file, "whole_file" for the marks at close of every
line with N lines up to it, over all the lines; each record's trades oldest first. A turn is a
bar whose mark is up or down and not the bar before's; the first bar and the newest, still
forming, make none. A turn against the position held closes it at the turn bar's close and opens
one its way ("up" bought, "down" sold) at the same close; a turn the held way changes nothing.
The position still open comes last, with empty closing fields. The lines count from 0 as the
line column does; the date, time and price are the line's date, time and close as the file
writes them. points is what the trade made, at the newest bar's close for the open one, in the
file's points (10^-D, D the most decimals of any price in the file) less the spread.

  --at-close add the column mark_at_close
  --trades   write the trades in place of the bars
)" + track.Usage() +
           RunOptionsUsage() + RunReadingUsage() +
           ExitStatusUsage(
               WavesProgram,
               {.reason =
                    "gives the reason: a file that cannot be read gives \"cannot read FILE: \" "
                    "and why (no such file, not a regular file, permission denied, held or "
                    "being written by another program); its content or the computation give "
                    "the window's own words (a file with fewer lines than N gives \"only 400 "
                    "lines, fewer than the 500 bars asked for\", a line that cannot be loaded "
                    "\"line 57: 'close' is not a valid floating point value\"); standard "
                    "output that cannot be written gives \"cannot write to standard output: \" "
                    "and why",
                .usageErrors = "an unknown option, a missing FILE, a value out of its range, "
                               "--whole-file or --spread without --trades, --at-close with it, or "
                               "a default lag above N",
                .more = {}});
}

constexpr std::string_view CsvHeader =
    "row,line,open,high,low,close,close_wave1,close_wave2,open_wave1,open_wave2,mark\n";

void AppendNumber(std::string& out, double value) {
    std::array<char, 32> text;
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value);
    out.append(text.data(), end);
}

void AppendMark(std::string& out, TTick mark) {
    out += mark == TTick::None ? "" : MarkText(mark);
}

void AppendRow(std::string& out, int row, const TRun& run, const TMarksAtClose* marksAtClose) {
    out += std::to_string(row);
    out += ',';
    out += std::to_string(run.FileLineOfRow(row));
    const TBarTable& bars = run.Bars();
    const TRunWaves& waves = run.Waves();
    for (const TSeries* column :
         {&bars.BarOpen, &bars.BarHigh, &bars.BarLow, &bars.BarClose, &waves.CloseWave1(),
          &waves.CloseWave2(), &waves.OpenWave1(), &waves.OpenWave2()}) {
        out += ',';
        AppendNumber(out, (*column)[row]);
    }
    out += ',';
    AppendMark(out, run.MarkAt(row));
    if (marksAtClose != nullptr) {
        out += ',';
        const int size = static_cast<int>(marksAtClose->size());
        const TMarkAtClose& mark =
            (*marksAtClose)[static_cast<std::size_t>(CheckedIndex(row, size))];
        AppendMark(out, mark.value_or(TTick::None));
    }
    out += '\n';
}

// The window's run without the chart and with no pause after a failed read. Throws what the
// window's run would swallow.
std::string WavesCsv(const TRunOptions& options, bool atClose, char decimalSeparator) {
    TRun run;
    WorkOutRun(options.path, options.numbers, ScriptRead(decimalSeparator), run);
    const TMarksAtClose marksAtClose = atClose ? MarksAtClose(run) : TMarksAtClose();
    std::string csv(CsvHeader);
    if (atClose) {
        csv.insert(csv.size() - 1, ",mark_at_close"); // before the header's line end
    }
    for (int row = 0; row < run.BarCount(); ++row) {
        AppendRow(csv, row, run, atClose ? &marksAtClose : nullptr);
    }
    return csv;
}

// The trades of the run's records: the marks at close of the loaded bars, or of every line with
// wholeFile, give them.
std::string TradesOfRun(const TRunOptions& options, const TTrackRequest& track,
                        char decimalSeparator) {
    TRun run;
    WorkOutRun(options.path, options.numbers, ScriptRead(decimalSeparator), run);
    if (!track.wholeFile) {
        return TradesCsv(run, TrackRecordsOf(run, MarksAtClose(run), nullptr, track.spread));
    }
    const TMarksAtClose wholeFile = WholeFileMarksAtClose(run);
    return TradesCsv(run,
                     TrackRecordsOf(run, LoadedBarsPart(run, wholeFile), &wholeFile, track.spread));
}

} // namespace

int RunWavesCommand(std::span<const std::string_view> args, char decimalSeparator, std::string& out,
                    std::string& err) {
    TRunOptions options;
    bool atClose = false;
    TTrackRequest track;
    TTrackOptions trackOptions("--trades");
    const std::array<TOption, 2> trackTable = trackOptions.Table(track);
    const TOption extra[] = {{"at-close", 0, nullptr, &atClose},
                             {"trades", 0, nullptr, &track.track},
                             trackTable[0],
                             trackTable[1]};
    if (const std::optional<int> status =
            ReadToolOptions(WavesProgram, args, extra, Usage(trackOptions), options, out, err)) {
        return *status;
    }
    std::string reason;
    if (!trackOptions.Check(track, reason)) {
        return UsageError(WavesProgram, reason, err);
    }
    if (atClose && track.track) {
        return UsageError(WavesProgram, "--at-close: not with --trades", err);
    }
    return ReportFailures(
        WavesProgram,
        [&] {
            out += track.track ? TradesOfRun(options, track, decimalSeparator)
                               : WavesCsv(options, atClose, decimalSeparator);
        },
        err);
}

} // namespace quillon
