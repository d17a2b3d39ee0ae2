// Measures quillon-scan --follow for its figures (not a test: it judges nothing). The tool follows
// a terminal's folder of 252 files of 1,900 lines at the default settings; once its table is read
// and its first runs are over, the probe rewrites one file at a time, each in one piece with a new
// newest bar, and waits for that file's row. It prints the latency from the writer's last byte to
// the row read on the pipe (median and max), then the tool's processor time over a quiet stretch,
// from /proc/PID/stat.
//
//   follow_scan_probe [REWRITES [QUIET_SECONDS]]    30 and 10 unless given

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/tools/TerminalFolder.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr auto LineWait = std::chrono::seconds(30);

// The processor time the process has had, user and system, from /proc/PID/stat.
Milliseconds ProcessorTime(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The name in parentheses may hold spaces; the fields after it are the state, then 10 more
    // before utime and stime (fields 14 and 15).
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string skipped;
    for (int i = 0; i < 11; ++i) {
        fields >> skipped;
    }
    long long user = 0, system = 0;
    if (!(fields >> user >> system)) {
        throw std::runtime_error("cannot read /proc/" + std::to_string(pid) + "/stat");
    }
    return Milliseconds(1000.0 * static_cast<double>(user + system) /
                        static_cast<double>(::sysconf(_SC_CLK_TCK)));
}

// Waits until the process has had no processor time for a second: its first runs are over.
void WaitUntilQuiet(pid_t pid) {
    for (Milliseconds before = ProcessorTime(pid);;) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const Milliseconds now = ProcessorTime(pid);
        if (now == before) {
            return;
        }
        before = now;
    }
}

// Writes text to path in one piece, as the terminal rewrites its file; the moment of its last
// byte.
Clock::time_point Rewrite(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        throw std::runtime_error("cannot rewrite " + path);
    }
    const Clock::time_point written = Clock::now();
    ::close(fd);
    return written;
}

double Percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    return values.at(at);
}

int Probe(int rewrites, int quietSeconds) {
    std::printf("making the folder of %d files\n", TerminalFolderFiles);
    const TTerminalFolder folder(TerminalFolderFiles);
    TRunningProcess scan(QUILLON_SCAN_PROGRAM, {"--follow", folder.path}, NoLocale);
    const auto start = Clock::now();
    for (int row = 0; row <= TerminalFolderFiles; ++row) {
        if (!scan.ReadLine(LineWait)) {
            throw std::runtime_error("the table ended early");
        }
    }
    std::printf("table: %.0f ms\n", Milliseconds(Clock::now() - start).count());
    WaitUntilQuiet(scan.Pid());
    std::printf("first runs over: %.0f ms\n", Milliseconds(Clock::now() - start).count());

    std::vector<double> latencies;
    for (int i = 0; i < rewrites; ++i) {
        // Files far apart in the folder, each with one bar more than before: a new newest bar.
        const int file = (i * 37) % TerminalFolderFiles;
        TBarFileSettings settings = TTerminalFolder::Settings(file);
        settings.barCount += 1 + i / TerminalFolderFiles;
        const std::string path = folder.path + TTerminalFolder::Name(file);
        const Clock::time_point written = Rewrite(path, BarFileText(settings));
        for (;;) {
            const std::optional<std::string> line = scan.ReadLine(LineWait);
            if (!line) {
                throw std::runtime_error("no row for " + path);
            }
            if (line->starts_with(path + ",")) {
                break;
            }
            std::printf("another row: %s\n", line->c_str());
        }
        latencies.push_back(Milliseconds(Clock::now() - written).count());
        // Apart from the next rewrite, so that each is measured alone.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    std::printf("rewrite to row, %d rewrites: median %.1f ms, max %.1f ms\n", rewrites,
                Percentile(latencies, 0.5), Percentile(latencies, 1.0));

    std::this_thread::sleep_for(std::chrono::seconds(1));
    const Milliseconds before = ProcessorTime(scan.Pid());
    std::this_thread::sleep_for(std::chrono::seconds(quietSeconds));
    const Milliseconds quiet = ProcessorTime(scan.Pid()) - before;
    std::printf("processor time over %d s of quiet: %.0f ms, %.2f %% of a core\n", quietSeconds,
                quiet.count(), quiet.count() / (10.0 * quietSeconds));
    const TProcessResult end = scan.Stop(SIGTERM);
    std::printf("SIGTERM: exit %d, %zu bytes more output%s%s\n", end.exitCode, end.out.size(),
                end.err.empty() ? "" : ", error: ", end.err.c_str());
    return 0;
}

} // namespace
} // namespace quillon

int main(int argc, char** argv) {
    try {
        return quillon::Probe(argc > 1 ? std::stoi(argv[1]) : 30,
                              argc > 2 ? std::stoi(argv[2]) : 10);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "follow_scan_probe: %s\n", error.what());
        return 1;
    }
}
