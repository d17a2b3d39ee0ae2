#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bars/GetField.h"
#include "bars/ReadBarLines.h"
#include "base/Errors.h"
#include "base/PriceText.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/bars/RunOutcome.h"

namespace quillon {
namespace {

using std::chrono::microseconds;
using TVersion = std::vector<TGeneratedBar>;

constexpr int Runs = 200;
constexpr std::size_t BarCount = 300;
constexpr int Pieces = 6;
constexpr microseconds LongestPause(5000);
// The writer gives up by itself after this long, should the test die before stopping it.
constexpr auto WriterLifetime = std::chrono::seconds(60);

microseconds UpTo(microseconds longest, std::mt19937& random) {
    return microseconds(random() % static_cast<unsigned>(longest.count() + 1));
}

// A writer that takes no lock. It writes the two versions in turn, each once after deleting the
// file and once truncating it in place, in pieces with pauses of up to LongestPause before each,
// and then rests for longer than a file takes to settle, as the terminal rests between rewrites.
// It asks for real-time priority (granted to root), so that its pauses are the ones it chose: on
// a loaded machine a plain process can wait for the processor longer than FileSettleTime, and a
// file that no one writes to for that long is taken for a finished one.
[[noreturn]] void RewriteForever(const std::string& path, const std::array<std::string, 2>& texts) {
    const sched_param realTime{.sched_priority = 1};
    ::sched_setscheduler(0, SCHED_FIFO, &realTime);
    const pid_t parent = ::getppid();
    const auto giveUp = std::chrono::steady_clock::now() + WriterLifetime;
    std::mt19937 random(7);
    for (unsigned rewrite = 0; ::getppid() == parent && std::chrono::steady_clock::now() < giveUp;
         ++rewrite) {
        const std::string& text = texts[rewrite % 2];
        if (rewrite / 2 % 2 == 0) {
            ::unlink(path.c_str());
        }
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (file < 0) {
            ::_exit(1);
        }
        std::vector<std::size_t> cuts{0, text.size()};
        for (int c = 1; c < Pieces; ++c) {
            cuts.push_back(random() % text.size());
        }
        std::sort(cuts.begin(), cuts.end());
        for (int c = 0; c < Pieces; ++c) {
            std::this_thread::sleep_for(UpTo(LongestPause, random));
            for (std::size_t at = cuts[c]; at < cuts[c + 1];) {
                const ssize_t written = ::write(file, text.data() + at, cuts[c + 1] - at);
                at += written > 0 ? static_cast<std::size_t>(written) : cuts[c + 1];
            }
        }
        ::close(file);
        std::this_thread::sleep_for(FileSettleTime + UpTo(FileSettleTime, random));
    }
    ::_exit(0);
}

class TWriterProcess {
public:
    TWriterProcess(const std::string& path, const std::array<std::string, 2>& texts)
        : child_(::fork()) {
        if (child_ == 0) {
            RewriteForever(path, texts);
        }
    }
    ~TWriterProcess() {
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
    }
    bool Started() const { return child_ > 0; }

private:
    pid_t child_;
};

// Whether closeText cut short by the writer can read as close: a prefix of it that is a number.
bool IsCutClose(const std::string& closeText, double close) {
    for (std::size_t length = 1; length <= closeText.size(); ++length) {
        try {
            if (TextToPrice(closeText.substr(0, length), '.') == close) {
                return true;
            }
        } catch (const QuillonError&) {
        }
    }
    return false;
}

// Whether the candles are the newest BarCount bars of the version; its newest close may be cut.
bool AreNewestBarsOf(const std::vector<TCandle>& candles, const TVersion& version) {
    const std::size_t first = version.size() - BarCount;
    for (std::size_t row = 0; row < BarCount; ++row) {
        const TGeneratedBar& bar = version[first + row];
        const TCandle& c = candles[row];
        if (c.open != PointsToPrice(bar.open) || c.high != PointsToPrice(bar.high) ||
            c.low != PointsToPrice(bar.low) ||
            (row + 1 < BarCount && c.close != PointsToPrice(bar.close))) {
            return false;
        }
    }
    return IsCutClose(std::string(GetField(BarLineText(version.back()), ',', 6)),
                      candles.back().close);
}

// Runs meet the file while it is missing, empty, half written or whole. Each must either fail as
// a read of a file held by a writer does (no bar loaded) or complete on the newest bars of one
// whole version. The two versions come from different price walks, so the newest bars of a
// partial file are those of neither.
TEST(LiveWriterTest, ARunNeverCompletesOnAFileBeingWritten) {
    TTempDir dir;
    const std::string path = dir.Path("EURUSD60.csv");
    const std::array<TVersion, 2> versions{GenerateBars({.seed = 1}), GenerateBars({.seed = 2})};
    const TRunSettings settings{std::to_string(BarCount), "20", "8", path, NoPause};
    TBarLines barLines;
    TBarTable bars;
    TChartModel chart;
    std::map<std::string, int> runs{{"complete", 0}, {"failed", 0}, {"partial", 0}};
    std::mt19937 random(11);
    {
        TWriterProcess writer(path, {BarFileText(versions[0]), BarFileText(versions[1])});
        ASSERT_TRUE(writer.Started());
        for (int run = 0; run < Runs; ++run) {
            const std::string outcome = RunAndJudge(settings, barLines, bars, chart);
            const std::vector<TCandle>& candles = chart.Series17().Candles();
            const bool whole =
                outcome == "complete " + std::to_string(BarCount) &&
                (AreNewestBarsOf(candles, versions[0]) || AreNewestBarsOf(candles, versions[1]));
            ++runs[whole ? "complete" : outcome == "silent 0" ? "failed" : "partial"];
            // Spread the runs over the writer's pieces, pauses and rests.
            std::this_thread::sleep_for(UpTo(LongestPause, random));
        }
    }
    std::cout << Runs << " runs: " << runs["complete"] << " complete, " << runs["failed"]
              << " failed, " << runs["partial"] << " on a partial file\n";
    EXPECT_EQ(runs["partial"], 0);
    EXPECT_GT(runs["complete"], 0);
}

} // namespace
} // namespace quillon
