#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/bars/BarTestFiles.h"
#include "tests/tools/RunProcess.h"

namespace quillon {
namespace {

const std::string WavesProgram = QUILLON_WAVES_PROGRAM;
const std::string WindowRunProgram = QUILLON_WINDOW_RUN_PROGRAM;

// The window-run program's first line: how the run ended.
std::string RunEndOf(const TProcessResult& run) {
    return run.out.substr(0, run.out.find('\n'));
}

// A gigabyte of zero bytes with no line end, made sparse so that it takes no disk: a run keeps one
// line of StoredLineLimit characters, so the load fails for want of lines, and the read never holds
// more than a piece of the file. The window-run program measures its own peak memory; the tool's
// is the figure of its exit status, which also counts this test's own memory at the start.
TEST(ResourceLimitTest, AGigabyteWithoutALineEndEndsTheRunInLittleMemory) {
    TTempDir dir;
    const std::string path = dir.WriteSparse("EURUSD60.csv", 1LL << 30);
    const TProcessResult window = RunProcess(WindowRunProgram, {path, "500", "39", "16"});
    EXPECT_EQ(window.exitCode, 0) << window.err;
    ASSERT_EQ(RunEndOf(window), "silent 0");
    const long windowPeak = std::stol(window.out.substr(window.out.find('\n') + 1));
    EXPECT_GT(windowPeak, 0);
    EXPECT_LT(windowPeak, 100 * 1024);

    const TProcessResult tool = RunProcess(WavesProgram, {path}, NoLocale);
    EXPECT_EQ(tool.exitCode, 1);
    EXPECT_EQ(tool.err, "Range check error\n");
    EXPECT_LT(tool.peakMemoryKilobytes, 100 * 1024);
    std::cout << "peak on 1 GB: window run " << windowPeak << " KB, quillon-waves "
              << tool.peakMemoryKilobytes << " KB\n";
}

// Runs programs as the user nobody when this process is root, whom file permissions do not stop;
// otherwise as this user. The programs are copied into an open folder first, since the build
// folder may lie where nobody cannot reach (under /root in a container), and the leak checker's
// suppressions are left out for the same reason: these programs use no library that needs them.
TProcessResult RunUnprivileged(const TTempDir& dir, const std::string& program,
                               const std::vector<std::string>& args) {
    std::vector<std::string> environment = NoLocale;
    environment.push_back("LSAN_OPTIONS=");
    if (::geteuid() != 0) {
        return RunProcess(program, args, environment);
    }
    const std::string copy = dir.Path(std::filesystem::path(program).filename().string());
    std::filesystem::copy_file(program, copy, std::filesystem::copy_options::overwrite_existing);
    ::chmod(copy.c_str(), 0755);
    std::vector<std::string> wrapped{"--reuid=65534", "--regid=65534", "--clear-groups", copy};
    wrapped.insert(wrapped.end(), args.begin(), args.end());
    return RunProcess("/usr/bin/setpriv", wrapped, environment);
}

// A file the user may not read ends the run as a missing one does; the same file made readable
// completes, so the permission is what stopped the first.
TEST(ResourceLimitTest, AFileWithoutReadPermissionEndsTheRunAsAMissingOne) {
    TTempDir dir;
    ASSERT_EQ(::chmod(dir.Path("").c_str(), 0755), 0);
    const std::string path = dir.Write("bars.csv", BarFileText(TBarFileSettings{}));
    const std::vector<std::string> windowArgs{path, "500", "39", "16"};

    ASSERT_EQ(::chmod(path.c_str(), 0200), 0);
    const TProcessResult window = RunUnprivileged(dir, WindowRunProgram, windowArgs);
    EXPECT_EQ(RunEndOf(window), "silent 0") << window.err;
    const TProcessResult tool = RunUnprivileged(dir, WavesProgram, {path});
    EXPECT_EQ(tool.exitCode, 1);
    EXPECT_EQ(tool.err, "Range check error\n");

    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(RunEndOf(RunUnprivileged(dir, WindowRunProgram, windowArgs)), "complete 500");
}

} // namespace
} // namespace quillon
