#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bars/ReadBarLines.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/chart/RunOutcome.h"

namespace quillon {
namespace {

using std::chrono::microseconds;
using TVersion = std::vector<TGeneratedBar>;

constexpr int Runs = 200;
constexpr std::size_t BarCount = 300;
constexpr std::size_t Pieces = 6; // in a rewrite, on average
constexpr microseconds LongestPause(5000);

microseconds UpTo(microseconds longest, std::mt19937& random) {
    return microseconds(random() % static_cast<unsigned>(longest.count() + 1));
}

// A writer that takes no lock. It writes the two versions in turn, each once after deleting the
// file and once truncating it in place, in pieces with pauses of up to LongestPause before each,
// and then rests longer than a file takes to settle, as the terminal does between rewrites. Its
// real-time priority (granted to root) keeps its pauses its own: on a loaded machine a plain
// process can wait for the processor longer than FileSettleTime, ending the file early.
[[noreturn]] void RewriteForever(const std::string& path, const std::array<std::string, 2>& texts) {
    const sched_param realTime{.sched_priority = 1};
    ::sched_setscheduler(0, SCHED_FIFO, &realTime);
    const pid_t parent = ::getppid();
    std::mt19937 random(7);
    // Should the test end before stopping it, the writer sees its parent change and ends.
    for (unsigned rewrite = 0; ::getppid() == parent; ++rewrite) {
        const std::string& text = texts[rewrite % 2];
        if (rewrite / 2 % 2 == 0) {
            ::unlink(path.c_str());
        }
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        for (std::size_t at = 0; at < text.size();) {
            std::this_thread::sleep_for(UpTo(LongestPause, random));
            const std::size_t piece = 1 + random() % (2 * text.size() / Pieces);
            const ssize_t written =
                ::write(file, text.data() + at, std::min(piece, text.size() - at));
            at += written > 0 ? static_cast<std::size_t>(written) : text.size();
        }
        ::close(file);
        std::this_thread::sleep_for(FileSettleTime + UpTo(FileSettleTime, random));
    }
    ::_exit(0);
}

// Whether the candles are the newest BarCount bars of the version, every price as written.
bool AreNewestBarsOf(const std::vector<TCandle>& candles, const TVersion& version) {
    return std::equal(candles.begin(), candles.end(), version.end() - BarCount, version.end(),
                      [](const TCandle& c, const TGeneratedBar& bar) {
                          return c.open == PointsToPrice(bar.open) &&
                                 c.high == PointsToPrice(bar.high) &&
                                 c.low == PointsToPrice(bar.low) &&
                                 c.close == PointsToPrice(bar.close);
                      });
}

// Runs meet the file while it is missing, empty, half written or whole. Each must either fail as
// a read of a file held by a writer does (no bar loaded) or complete on the newest bars of one
// whole version. The two versions come from different price walks, so the newest bars of a
// partial file are those of neither.
TEST(LiveWriterTest, ARunNeverCompletesOnAFileBeingWritten) {
    TTempDir dir;
    const std::string path = dir.Path("EURUSD60.csv");
    const std::array<TVersion, 2> versions{GenerateBars({.seed = 1}), GenerateBars({.seed = 2})};
    const TRunSettings settings{std::to_string(BarCount), "20", "8", path, {}};
    TRun run;
    TChartModel chart;
    int complete = 0, failed = 0;
    std::mt19937 random(11);
    const pid_t writer = ::fork();
    if (writer == 0) {
        RewriteForever(path, {BarFileText(versions[0]), BarFileText(versions[1])});
    }
    ASSERT_GT(writer, 0);
    for (int i = 0; i < Runs; ++i) {
        const std::string outcome = RunAndJudge(settings, run, chart);
        const std::vector<TCandle>& candles = chart.Series17().Candles();
        const bool whole =
            outcome == "complete " + std::to_string(BarCount) &&
            (AreNewestBarsOf(candles, versions[0]) || AreNewestBarsOf(candles, versions[1]));
        // Nothing loaded: the file was held, gone, or (its writer held up past settling between
        // emptying it and writing) empty.
        const bool readRefused = outcome == "failed: held or being written by another program" ||
                                 outcome == "failed: no such file" ||
                                 outcome == "failed: only 0 lines, fewer than the " +
                                                std::to_string(BarCount) + " bars asked for";
        EXPECT_TRUE(whole || readRefused) << "a run loaded part of a file: " << outcome;
        ++(whole ? complete : failed);
        // Spread the runs over the writer's pieces, pauses and rests.
        std::this_thread::sleep_for(UpTo(LongestPause, random));
    }
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    // Both ends met, or the runs missed the writer at work and the test proved nothing.
    EXPECT_GT(complete, 0) << failed << " failed";
    EXPECT_GT(failed, 0) << complete << " complete";
}

} // namespace
} // namespace quillon
