#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bars/GetField.h"
#include "base/Errors.h"
#include "base/PriceText.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/bars/RunOutcome.h"

namespace quillon {
namespace {

using std::chrono::microseconds;

constexpr int Runs = 200;
constexpr int BarCount = 300;
constexpr int Chunks = 4;
// The writer gives up by itself after this long, should the test die before stopping it.
constexpr auto WriterLifetime = std::chrono::seconds(60);
// Time between two runs: a small part of one rewrite of the file (four pieces, then a pause).
constexpr auto RunSpacing = microseconds(500);

// The terminal's way of updating the file: delete it, create it afresh and write it in pieces.
// Every other time the writer holds the file locked for writing while it writes, as the terminal
// does when it keeps other writers out.
[[noreturn]] void RewriteForever(const std::string& path, const std::string& text) {
    const pid_t parent = ::getppid();
    const auto giveUp = std::chrono::steady_clock::now() + WriterLifetime;
    std::mt19937 random(7);
    for (long rewrite = 0; ::getppid() == parent && std::chrono::steady_clock::now() < giveUp;
         ++rewrite) {
        ::unlink(path.c_str());
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (file < 0) {
            ::_exit(1);
        }
        if (rewrite % 2 == 1) {
            ::flock(file, LOCK_EX);
        }
        std::vector<std::size_t> cuts{0, text.size()};
        for (int c = 1; c < Chunks; ++c) {
            cuts.push_back(random() % text.size());
        }
        std::sort(cuts.begin(), cuts.end());
        for (int c = 0; c < Chunks; ++c) {
            for (std::size_t at = cuts[c]; at < cuts[c + 1];) {
                const ssize_t written = ::write(file, text.data() + at, cuts[c + 1] - at);
                at += written > 0 ? static_cast<std::size_t>(written) : cuts[c + 1];
            }
            std::this_thread::sleep_for(microseconds(200));
        }
        ::close(file);
        std::this_thread::sleep_for(microseconds(2000));
    }
    ::_exit(0);
}

// Waits until the writer has written the whole file once, so that the runs start on a file
// that exists; false after WriterLifetime.
bool WaitForWholeFile(const std::string& path, std::size_t size) {
    const auto giveUp = std::chrono::steady_clock::now() + WriterLifetime;
    std::error_code error;
    while (std::filesystem::file_size(path, error) != size || error) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(microseconds(100));
    }
    return true;
}

class TWriterProcess {
public:
    TWriterProcess(const std::string& path, const std::string& text)
        : child_(::fork()) {
        if (child_ == 0) {
            RewriteForever(path, text);
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

// The candles of a complete run are BarCount consecutive bars of the file; only the newest close
// may be cut short.
bool CandlesAreFileBars(const TChartModel& chart, const std::vector<TGeneratedBar>& file) {
    const std::vector<TCandle>& candles = chart.Series17().Candles();
    const std::size_t count = BarCount;
    for (std::size_t first = 0; first + count <= file.size(); ++first) {
        bool all = true;
        for (std::size_t row = 0; row < count && all; ++row) {
            const TGeneratedBar& bar = file[first + row];
            const TCandle& c = candles[row];
            all = c.open == PointsToPrice(bar.open) && c.high == PointsToPrice(bar.high) &&
                  c.low == PointsToPrice(bar.low) &&
                  (row + 1 == count || c.close == PointsToPrice(bar.close));
        }
        const std::string newest = BarLineText(file[first + count - 1]);
        if (all && IsCutClose(std::string(GetField(newest, ',', 6)), candles.back().close)) {
            return true;
        }
    }
    return false;
}

TEST(LiveWriterTest, RunsMeetingAFileBeingRewrittenCompleteOrEndSilently) {
    TTempDir dir;
    const std::vector<TGeneratedBar> file = GenerateBars(TBarFileSettings{});
    const std::string path = dir.Path("EURUSD60.csv");
    const TRunSettings settings{std::to_string(BarCount), "20", "8", path, NoPause};
    TBarLines barLines;
    TBarTable bars;
    for (int row = BarCount; row < SeriesCapacity; ++row) {
        bars.BarClose[row] = -row;
    }
    TChartModel chart;
    chart.Series20().AppendPoint(1.0, 2.0, "", clRed);

    // A missing, empty or short file fails at the first bar; a newest line cut before its close
    // fails at the last.
    const std::string complete = "complete " + std::to_string(BarCount);
    std::map<std::string, int> ends{
        {complete, 0}, {"silent 0", 0}, {"silent " + std::to_string(BarCount - 1), 0}};
    {
        const std::string text = BarFileText(file);
        TWriterProcess writer(path, text);
        ASSERT_TRUE(writer.Started());
        ASSERT_TRUE(WaitForWholeFile(path, text.size())) << "the writer never finished a file";
        for (int run = 0; run < Runs; ++run) {
            const std::string outcome = RunAndJudge(settings, barLines, bars, chart);
            ASSERT_TRUE(ends.contains(outcome)) << "run " << run << ": " << outcome;
            ++ends[outcome];
            if (outcome == complete) {
                ASSERT_TRUE(CandlesAreFileBars(chart, file)) << "run " << run;
            }
            // A failed run takes microseconds; without a pause a burst of them would all fall
            // into one gap of the writer instead of meeting it across many rewrites.
            std::this_thread::sleep_for(RunSpacing);
        }
    }
    for (const auto& [end, count] : ends) {
        std::cout << count << " runs: " << end << '\n';
    }
    EXPECT_GT(ends[complete], 0);
    for (int row = BarCount; row < SeriesCapacity; ++row) {
        ASSERT_EQ(bars.BarClose[row], -row) << "a row the runs do not load";
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path(""))) {
        EXPECT_EQ(entry.path().string(), path) << "the runs write no file";
    }
}

} // namespace
} // namespace quillon
