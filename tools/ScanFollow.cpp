#include "tools/ScanFollow.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <system_error>
#include <vector>

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QSocketNotifier>

#include "bars/BarFiles.h"
#include "bars/ReadBarLines.h"
#include "bars/ReadPolicy.h"
#include "base/ErrorText.h"
#include "base/Errors.h"
#include "base/IntegerText.h"
#include "live/LivePipeline.h"
#include "tools/FollowPaths.h"
#include "tools/RunOptions.h"
#include "tools/ScanFiles.h"
#include "tools/ScanRowFilter.h"
#include "tools/StopSignals.h"
#include "tools/ToolOutput.h"

namespace quillon {

namespace {

int Failed(const std::string& what, int error, std::string& err) {
    err += std::string(ScanProgram) + ": " + what + ": " + std::strerror(error) + "\n";
    return ExitFailure;
}

int WriteFailed(int error, std::string& err) {
    return Failed("cannot write to standard output", error, err);
}

// The row of a file without a run: gone, or not even storage for its run to be had.
TWatchRow FailedRow(const std::string& path, const std::string& failure) {
    TWatchRow row;
    row.path = path;
    row.symbolPeriod = SymbolPeriodOf(path);
    row.failure = failure;
    return row;
}

// The window's settings of a run, as the tool's numbers give them.
TRunSettings SettingsOf(const TRunNumbers& numbers, char decimalSeparator) {
    TRunSettings settings;
    settings.barCountText = IntegerToText(numbers.N);
    settings.lag1Text = IntegerToText(numbers.W1);
    settings.lag2Text = IntegerToText(numbers.W2);
    settings.read = WatchedRead(decimalSeparator);
    return settings;
}

// The files whose runs the pipeline works out the marks at close or the track records of, beside
// the window's thread: each file it tells of, from its first run on, since a folder's files are
// known only as they come.
class TExtrasAsker {
public:
    TExtrasAsker(TLivePipeline& pipeline, const TRowExtras& extras)
        : pipeline_(pipeline)
        , extras_(extras) {}

    // Whether run, a complete run, lacks what is asked for.
    bool Lacks(const TFileRun& run) const {
        return (extras_.atClose && !run.marksAtClose) || (extras_.track.track && !run.trackRecords);
    }
    // Whether the row of run, a complete run that lacks its extras, may go out without them:
    // false when it is to be made again with them. A run made before its file was asked for, or
    // started while it was, lacks them; one that lacks them a few times in a row is let through
    // without them, so that a pool that cannot have them (out of memory) does not stop the file's
    // rows.
    bool LetThrough(const TFileRun& run) {
        if (!asked_.contains(run.path)) {
            asked_.insert(run.path);
            Ask();
        }
        if (missed_[run.path]++ < MaxMissed) {
            pipeline_.RunAgain(run.path);
            return false;
        }
        return true;
    }
    void Got(const QString& path) { missed_.remove(path); }
    void Forget(const QString& path) {
        missed_.remove(path);
        if (asked_.remove(path)) {
            Ask();
        }
    }

private:
    static constexpr int MaxMissed = 3;

    void Ask() {
        const QSet<QString> none;
        pipeline_.WorkOutMarksAtClose(extras_.atClose ? asked_ : none);
        pipeline_.WorkOutTrackRecords(extras_.track.track ? asked_ : none,
                                      extras_.track.wholeFile ? asked_ : none);
    }

    TLivePipeline& pipeline_;
    const TRowExtras extras_;
    QSet<QString> asked_;
    QHash<QString, int> missed_;
};

// The extras of run, a complete run, summed up into row, the track records with spread points off
// each trade. False when the row is not to be written, the file being run again for its extras.
bool AddExtras(const TFileRun& run, const TRowExtras& extras, TExtrasAsker& asker, TWatchRow& row) {
    if (asker.Lacks(run)) {
        if (!asker.LetThrough(run)) {
            return false;
        }
    } else {
        asker.Got(run.path);
    }
    if (extras.atClose && run.marksAtClose) {
        row.atClose = AtCloseSummaryOf(*run.run, *run.marksAtClose);
    }
    if (extras.track.track && run.trackRecords) {
        try {
            row.track = SummariesWithSpread(*run.trackRecords, extras.track.spread);
        } catch (const QuillonError& error) {
            row.failure = FailureText(error);
        }
    }
    return true;
}

} // namespace

namespace {

// The first operand that names a folder that is not there: one that ends in '/', or whose name is
// no bar file's. A file given by name may appear later, and is waited for; a folder never watched
// would be followed for nothing.
std::optional<std::string> MissingFolder(const std::vector<std::string>& operands) {
    for (const std::string& operand : operands) {
        std::error_code error;
        const std::string name = operand.substr(operand.rfind('/') + 1);
        if (!std::filesystem::exists(operand, error) &&
            (operand.ends_with('/') || !IsBarFileName(name))) {
            return operand;
        }
    }
    return std::nullopt;
}

} // namespace

int FollowScan(const TScanRequest& request, char decimalSeparator, std::string& err) {
    if (const std::optional<std::string> folder = MissingFolder(request.operands)) {
        err += std::string(ScanProgram) + ": " + *folder + ": no such folder\n";
        return ExitFailure;
    }
    // Before the table's threads and the pipeline's.
    TStopSignals stop;
    if (stop.Descriptor() < 0) {
        return Failed("cannot take SIGINT and SIGTERM", errno, err);
    }
    std::vector<TWatchRow> rows;
    // After the table, the pipeline works out each file's marks at close and records beside the
    // event loop, keeping them from one run of a file to the next.
    const TRowExtras& extras = request.extras;
    if (ReportFailures(
            ScanProgram, [&] { rows = ScanRowsShowingProgress(request, decimalSeparator); }, err) !=
        ExitSuccess) {
        return ExitFailure;
    }
    TScanRowFilter filter(request.turns, rows.size());
    TFollowPaths paths(request.operands);
    std::vector<TWatchRow> shown;
    for (const TWatchRow& row : rows) {
        paths.Show(row.path);
        if (filter.Take(row)) {
            shown.push_back(row);
        }
    }
    if (const int error =
            WriteAll(STDOUT_FILENO, ScanTable(shown, request.format, extras.Columns()))) {
        return WriteFailed(error, err);
    }

    int argc = 1;
    char name[] = "quillon-scan";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    int status = ExitSuccess;
    const auto write = [&](const TWatchRow& row) {
        if (status != ExitSuccess || !filter.Take(row)) {
            return;
        }
        if (const int error =
                WriteAll(STDOUT_FILENO, ScanRowLine(row, request.format, extras.Columns()))) {
            status = WriteFailed(error, err);
            QCoreApplication::quit();
        }
    };
    TLivePipeline pipeline;
    pipeline.UseSettings(SettingsOf(request.numbers, decimalSeparator));
    TExtrasAsker asker(pipeline, extras);
    QObject::connect(&pipeline, &TLivePipeline::RunFinished, &application,
                     [&](const TFileRun& run) {
                         // Its writer still at it: the pipeline runs it again once it lets go.
                         if (run.held) {
                             return;
                         }
                         const std::string path = paths.Shown(run.path);
                         if (!run.run) {
                             write(FailedRow(path, run.outcome.failure));
                             return;
                         }
                         TWatchRow row = WatchRowOf(path, *run.run, run.outcome);
                         if (row.failure.empty() && !AddExtras(run, extras, asker, row)) {
                             return;
                         }
                         write(row);
                     });
    QObject::connect(&pipeline, &TLivePipeline::FileRemoved, &application,
                     [&](const QString& path) {
                         const std::string shown = paths.Shown(path);
                         asker.Forget(path);
                         write(FailedRow(shown, ReadFailureText(TReadFailure::NoSuchFile)));
                         filter.Forget(shown);
                         paths.Forget(path);
                     });
    QSocketNotifier stopNotifier(stop.Descriptor(), QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &application, [&stop] {
        stop.Take();
        QCoreApplication::quit();
    });
    pipeline.Watch(paths.Folders(), paths.Files());
    QCoreApplication::exec();
    return status;
}

} // namespace quillon
