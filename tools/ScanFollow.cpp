#include "tools/ScanFollow.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <vector>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "bars/ReadBarLines.h"
#include "base/IntegerText.h"
#include "live/LivePipeline.h"
#include "live/RunPolicy.h"
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

} // namespace

int FollowScan(const TScanRequest& request, char decimalSeparator, std::string& err) {
    // Before the table's threads and the pipeline's.
    TStopSignals stop;
    if (stop.Descriptor() < 0) {
        return Failed("cannot take SIGINT and SIGTERM", errno, err);
    }
    std::vector<TWatchRow> rows;
    // Each file's marks at close, kept from the table on, so that a rewrite works out only the
    // runs whose lines changed.
    TAtCloseKeepers keepers;
    if (ReportFailures(
            ScanProgram,
            [&] {
                rows =
                    ScanRows(request.operands, request.numbers, ToolReadSettings(decimalSeparator),
                             request.jobs, request.atClose ? &keepers : nullptr);
            },
            err) != ExitSuccess) {
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
            WriteAll(STDOUT_FILENO, ScanTable(shown, request.format, request.atClose))) {
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
                WriteAll(STDOUT_FILENO, ScanRowLine(row, request.format, request.atClose))) {
            status = WriteFailed(error, err);
            QCoreApplication::quit();
        }
    };
    TLivePipeline pipeline;
    pipeline.UseSettings(SettingsOf(request.numbers, decimalSeparator));
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
                         if (request.atClose) {
                             AddMarksAtClose(*run.run, keepers[path], 0, row);
                         }
                         write(row);
                     });
    QObject::connect(&pipeline, &TLivePipeline::FileRemoved, &application,
                     [&](const QString& path) {
                         const std::string shown = paths.Shown(path);
                         keepers.erase(shown);
                         write(FailedRow(shown, ReadFailureText(TReadFailure::NoSuchFile)));
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
