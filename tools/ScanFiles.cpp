#include "tools/ScanFiles.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <set>
#include <system_error>

#include "bars/BarFiles.h"
#include "base/ErrorText.h"
#include "base/Errors.h"
#include "base/ShareOut.h"

namespace quillon {

namespace {

namespace fs = std::filesystem;

// The paths of the files to work out, each file once under the path it is first met by, and the
// failed rows of the folders that cannot be listed.
class TScanPaths {
public:
    void Add(const std::string& path) {
        if (met_.insert(RealPath(path)).second) {
            paths.push_back(path);
        }
    }
    void AddFolder(const std::string& folder) {
        if (!met_.insert(RealPath(folder)).second) {
            return;
        }
        const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
        std::error_code error;
        for (const std::string& name : BarFileNames(folder, error)) {
            Add(prefix + name);
        }
        if (error) {
            TWatchRow& row = unlisted.emplace_back();
            row.path = folder;
            row.failure = "cannot list: " + error.message();
        }
    }

    std::vector<std::string> paths;
    std::vector<TWatchRow> unlisted;

private:
    std::set<std::string> met_;
};

std::string_view FileName(std::string_view path) {
    return path.substr(path.rfind('/') + 1);
}

} // namespace

std::string RealPath(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error) {
        return path;
    }
    const fs::path real = fs::weakly_canonical(absolute, error);
    return (error ? absolute.lexically_normal() : real).string();
}

void AddExtras(const TRun& run, TMarksAtCloseCache& keeper, unsigned threads,
               const TRowExtras& extras, TWatchRow& row) {
    if (!row.failure.empty() || (!extras.atClose && !extras.track.track)) {
        return;
    }
    try {
        const bool wholeFile = extras.track.track && extras.track.wholeFile;
        const TMarksAtClose& marks =
            keeper.Update(run, threads,
                          wholeFile ? TMarksAtCloseCache::TScope::WholeFile
                                    : TMarksAtCloseCache::TScope::LoadedBars);
        const TMarksAtClose loaded = wholeFile ? LoadedBarsPart(run, marks) : marks;
        if (extras.atClose) {
            row.atClose = AtCloseSummaryOf(run, loaded);
        }
        if (extras.track.track) {
            row.track = SummariesOf(
                TrackRecordsOf(run, loaded, wholeFile ? &marks : nullptr, extras.track.spread));
        }
    } catch (const std::bad_alloc& error) {
        row.failure = FailureText(error);
    } catch (const QuillonError& error) {
        row.failure = FailureText(error);
    }
}

TTrackSummaries SummariesWithSpread(const TTrackRecords& records, std::int64_t spread) {
    const auto summary = [&records, spread](const TRecord& record) {
        std::vector<TTrade> trades = record.trades;
        for (TTrade& trade : trades) {
            // Each trade's points have records.spread off already.
            if (__builtin_add_overflow(trade.points, records.spread - spread, &trade.points)) {
                throw IntegerOverflowError();
            }
        }
        return SummaryOf(trades);
    };
    TTrackSummaries summaries{summary(records.chart), summary(records.atClose), std::nullopt};
    if (records.wholeFile) {
        summaries.wholeFile = summary(*records.wholeFile);
    }
    return summaries;
}

std::vector<TWatchRow> ScanRows(const std::vector<std::string>& operands,
                                const TRunNumbers& numbers, const TReadSettings& read, int jobs,
                                const TRowExtras& extras, const TFilesProgress& progress) {
    TScanPaths scan;
    for (const std::string& operand : operands) {
        std::error_code error;
        if (fs::is_directory(operand, error)) {
            scan.AddFolder(operand);
        } else {
            scan.Add(operand);
        }
    }
    const std::vector<std::string>& paths = scan.paths;

    std::vector<TWatchRow> rows(paths.size());
    const bool marked = extras.atClose || extras.track.track;
    std::atomic<std::size_t> done = 0;
    const std::size_t workers = std::min<std::size_t>(static_cast<std::size_t>(jobs), paths.size());
    // Processors that no file is left for go to the waves of each run: a single file is worked
    // out as quillon-waves works it out.
    const unsigned waveThreads = static_cast<unsigned>(jobs) / std::max<std::size_t>(workers, 1);
    ShareOut(
        paths.size(), workers,
        [waveThreads] {
            auto run = std::make_unique<TRun>();
            run->SetWaveThreads(waveThreads);
            return run;
        },
        [&](TRun& run, std::size_t i) {
            rows[i] = WatchRowOf(paths[i], numbers, read, run);
            if (marked) {
                TMarksAtCloseCache once;
                AddExtras(run, once, waveThreads, extras, rows[i]);
            }
            if (progress) {
                progress(++done, paths.size());
            }
        });

    rows.insert(rows.end(), scan.unlisted.begin(), scan.unlisted.end());
    std::sort(rows.begin(), rows.end(), [](const TWatchRow& a, const TWatchRow& b) {
        const std::string_view nameA = FileName(a.path), nameB = FileName(b.path);
        return nameA != nameB ? BarFileNameLess(nameA, nameB) : a.path < b.path;
    });
    return rows;
}

} // namespace quillon
