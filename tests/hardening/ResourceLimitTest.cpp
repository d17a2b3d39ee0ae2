#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/bars/BarTestFiles.h"
#include "tests/hardening/BadInputFiles.h"
#include "tests/hardening/RunOutcome.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

const std::string WavesProgram = QUILLON_WAVES_PROGRAM;
const std::string WindowRunProgram = QUILLON_WINDOW_RUN_PROGRAM;
const std::vector<std::string> NoLocale{"LC_ALL=", "LC_NUMERIC=", "LANG="};

std::string Printed(const TRunOutcome& outcome) {
    std::ostringstream text;
    text << outcome;
    return text.str();
}

// The window-run program's first line: how the run ended.
std::string RunEndOf(const TProcessResult& run) {
    return run.out.substr(0, run.out.find('\n'));
}

// Its second line: its peak memory.
long PeakKilobytesOf(const TProcessResult& run) {
    return std::stol(run.out.substr(run.out.find('\n') + 1));
}

// A gigabyte of zero bytes with no line end, made sparse so that it takes no disk: the run keeps
// one line of StoredLineLimit characters, so the load fails for want of lines, and the read never
// holds more than a piece of the file.
TEST(ResourceLimitTest, AGigabyteWithoutALineEndEndsTheRunInLittleMemory) {
    TTempDir dir;
    const std::string path = dir.WriteSparse("EURUSD60.csv", 1LL << 30);
    const auto start = std::chrono::steady_clock::now();
    const TProcessResult run = RunProcess(WindowRunProgram, {path, "500", "39", "16"});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(RunEndOf(run), Printed(SilentEnd(0)));
    const long peak = PeakKilobytesOf(run);
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, 100 * 1024);
    std::cout << "window run on 1 GB: "
              << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms, peak "
              << peak << " KB\n";
}

// Runs programs as the user nobody when this process is root, whom file permissions do not stop;
// otherwise as this user. The programs are copied into an open folder first, since the build
// folder may lie where nobody cannot reach (under /root in a container), and the leak checker's
// suppressions are left out for the same reason: these programs use no library that needs them.
class TUnprivilegedRunner {
public:
    explicit TUnprivilegedRunner(const TTempDir& dir)
        : dir_(dir) {}

    TProcessResult Run(const std::string& program, const std::vector<std::string>& args) const {
        std::vector<std::string> environment = NoLocale;
        environment.push_back("LSAN_OPTIONS=");
        if (::geteuid() != 0) {
            return RunProcess(program, args, environment);
        }
        const std::string copy = dir_.Path(std::filesystem::path(program).filename().string());
        std::filesystem::copy_file(program, copy,
                                   std::filesystem::copy_options::overwrite_existing);
        ::chmod(copy.c_str(), 0755);
        std::vector<std::string> wrapped{"--reuid=65534", "--regid=65534", "--clear-groups", copy};
        wrapped.insert(wrapped.end(), args.begin(), args.end());
        return RunProcess("/usr/bin/setpriv", wrapped, environment);
    }

private:
    const TTempDir& dir_;
};

// A file the user may not read ends the run as a missing one does; the same file made readable
// completes, so the permission is what stopped the first.
TEST(ResourceLimitTest, AFileWithoutReadPermissionEndsTheRunAsAMissingOne) {
    TTempDir dir;
    ASSERT_EQ(::chmod(dir.Path("").c_str(), 0755), 0);
    const TUnprivilegedRunner runner(dir);
    const std::string path = dir.Write("bars.csv", JoinLines(BarLines(StandardBars()), "\r\n"));
    const std::vector<std::string> windowArgs{path, "500", "39", "16"};

    ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
    const TProcessResult window = runner.Run(WindowRunProgram, windowArgs);
    EXPECT_EQ(RunEndOf(window), Printed(SilentEnd(0))) << window.err;
    const TProcessResult tool =
        runner.Run(WavesProgram, {path, "--bars", "500", "--w1", "39", "--w2", "16"});
    EXPECT_EQ(tool.exitCode, 1);
    EXPECT_EQ(tool.err, "Range check error\n");

    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(RunEndOf(runner.Run(WindowRunProgram, windowArgs)), Printed(Complete(500)));
}

} // namespace
} // namespace quillon
