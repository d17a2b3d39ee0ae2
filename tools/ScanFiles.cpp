#include "tools/ScanFiles.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <set>
#include <system_error>

#include "bars/BarFiles.h"
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

void AddMarksAtClose(const TRun& run, TMarksAtCloseCache& keeper, unsigned threads,
                     TWatchRow& row) {
    if (!row.failure.empty()) {
        return;
    }
    try {
        row.atClose = AtCloseSummaryOf(run, keeper.Update(run, threads));
    } catch (const std::bad_alloc&) {
        row.failure = "out of memory";
    }
}

std::vector<TWatchRow> ScanRows(const std::vector<std::string>& operands,
                                const TRunNumbers& numbers, const TReadSettings& read, int jobs,
                                TAtCloseKeepers* keepers) {
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
    // Made here, so that the threads only use them.
    std::vector<TMarksAtCloseCache*> keeperOf(paths.size());
    for (std::size_t i = 0; keepers != nullptr && i < paths.size(); ++i) {
        keeperOf[i] = &(*keepers)[paths[i]];
    }
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
            if (keeperOf[i] != nullptr) {
                AddMarksAtClose(run, *keeperOf[i], waveThreads, rows[i]);
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
