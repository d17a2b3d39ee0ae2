#include "tools/ScanFiles.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <memory>
#include <system_error>
#include <thread>

namespace quillon {

namespace {

namespace fs = std::filesystem;

bool IsBarFileName(std::string_view name) {
    constexpr std::string_view Ending = ".csv";
    if (name.size() <= Ending.size() || name.front() == '.') {
        return false;
    }
    return std::equal(Ending.begin(), Ending.end(), name.end() - Ending.size(),
                      [](char ending, char c) {
                          return c == ending || (c >= 'A' && c <= 'Z' && c - 'A' + 'a' == ending);
                      });
}

// The paths of a DIR operand's bar files, or the failed row of a DIR that cannot be listed.
void ListFolder(const std::string& folder, std::vector<std::string>& paths,
                std::vector<TWatchRow>& rows) {
    const std::string prefix = folder.ends_with('/') ? folder : folder + "/";
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (IsBarFileName(name)) {
            paths.push_back(prefix + name);
        }
    }
    if (error) {
        TWatchRow& row = rows.emplace_back();
        row.path = folder;
        row.failure = "cannot list: " + error.message();
    }
}

std::string_view FileName(std::string_view path) {
    return path.substr(path.rfind('/') + 1);
}

} // namespace

std::vector<TWatchRow> ScanRows(const std::vector<std::string>& operands,
                                const TRunNumbers& numbers, const TReadSettings& read, int jobs) {
    std::vector<std::string> paths;
    std::vector<TWatchRow> unlisted;
    for (const std::string& operand : operands) {
        std::error_code error;
        if (fs::is_directory(operand, error)) {
            ListFolder(operand, paths, unlisted);
        } else {
            paths.push_back(operand);
        }
    }

    std::vector<TWatchRow> rows(paths.size());
    const std::size_t workers = std::min<std::size_t>(static_cast<std::size_t>(jobs), paths.size());
    // Processors that no file is left for go to the waves of each run: a single file is worked
    // out as quillon-waves works it out.
    const unsigned waveThreads = static_cast<unsigned>(jobs) / std::max<std::size_t>(workers, 1);
    std::atomic<std::size_t> next = 0;
    std::vector<std::exception_ptr> errors(workers);
    const auto work = [&](std::size_t worker) {
        try {
            const auto run = std::make_unique<TRun>();
            run->SetWaveThreads(waveThreads);
            for (std::size_t i = next++; i < paths.size(); i = next++) {
                rows[i] = WatchRowOf(paths[i], numbers, read, *run);
            }
        } catch (...) {
            errors[worker] = std::current_exception();
        }
    };
    if (workers > 0) {
        std::vector<std::jthread> threads;
        try {
            for (std::size_t worker = 1; worker < workers; ++worker) {
                threads.emplace_back(work, worker);
            }
        } catch (const std::system_error&) {
            // No thread to spare: the threads there are, this one included, do all the files.
        }
        work(0);
    }
    for (const std::exception_ptr& error : errors) {
        if (error) {
            std::rethrow_exception(error);
        }
    }

    rows.insert(rows.end(), unlisted.begin(), unlisted.end());
    std::sort(rows.begin(), rows.end(), [](const TWatchRow& a, const TWatchRow& b) {
        return std::pair(FileName(a.path), std::string_view(a.path)) <
               std::pair(FileName(b.path), std::string_view(b.path));
    });
    return rows;
}

} // namespace quillon
