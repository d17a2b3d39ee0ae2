#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <ranges>
#include <string>
#include <vector>

namespace quillon {

struct TProcessResult {
    int exitCode = -1; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs program with args and waits for it, collecting both output streams. environment holds
// NAME=value entries that replace or add to this process's environment.
TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::vector<std::string>& environment = {});

// The output goes to unnamed files rather than pipes, so the program never waits for a reader.
using TFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// A program started as RunProcess starts it, its standard output on a pipe that is read while it
// runs, as a script reads a program that never ends by itself; its standard error to a file.
// Killed, should it still run, when this goes.
class TRunningProcess {
public:
    TRunningProcess(const std::string& program, const std::vector<std::string>& args,
                    const std::vector<std::string>& environment = {});
    ~TRunningProcess();
    TRunningProcess(const TRunningProcess&) = delete;
    TRunningProcess& operator=(const TRunningProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // The next line of its output, without the line end; nothing when none is whole within
    // timeout, or the output ended.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // Sends it signal and waits for it to end, killing it after timeout: its exit code (-1 when
    // killed), and the output not read by then.
    TProcessResult Stop(int signal, std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    // Reads what the pipe holds, waiting for it; false at its end.
    bool ReadSome();

    pid_t pid_ = 0;
    int out_ = -1;
    TFile err_;
    std::string read_;
};

// The pieces of a program's output between delimiters, an empty last one after a trailing one.
inline std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> parts;
    for (const auto part : std::views::split(text, delimiter)) {
        parts.emplace_back(part.begin(), part.end());
    }
    return parts;
}

// No locale from the environment: the C locale, whose decimal separator is a point.
inline const std::vector<std::string> NoLocale{"LC_ALL=", "LC_NUMERIC=", "LANG="};

} // namespace quillon
