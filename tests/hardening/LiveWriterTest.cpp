#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/PriceText.h"
#include "tests/bars/BarTestFiles.h"
#include "tests/hardening/BadInputFiles.h"
#include "tests/hardening/RunOutcome.h"

namespace quillon {
namespace {

using std::chrono::microseconds;

constexpr int Runs = 200;
constexpr int BarCount = 300;
constexpr int Chunks = 4;
// The writer gives up by itself after this long, should the test die before stopping it.
constexpr auto WriterLifetime = std::chrono::seconds(60);

void WriteAll(int file, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(file, data, size);
        if (written <= 0) {
            return;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

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
        const bool locks = rewrite % 2 == 1;
        if (locks) {
            ::flock(file, LOCK_EX);
        }
        std::vector<std::size_t> cuts{0, text.size()};
        for (int c = 1; c < Chunks; ++c) {
            cuts.push_back(random() % text.size());
        }
        std::sort(cuts.begin(), cuts.end());
        for (int c = 0; c < Chunks; ++c) {
            WriteAll(file, text.data() + cuts[c], cuts[c + 1] - cuts[c]);
            std::this_thread::sleep_for(microseconds(200));
        }
        ::close(file);
        std::this_thread::sleep_for(microseconds(2000));
    }
    ::_exit(0);
}

class TWriterProcess {
public:
    TWriterProcess(const std::string& path, const std::string& text) {
        child_ = ::fork();
        if (child_ == 0) {
            RewriteForever(path, text);
        }
    }
    ~TWriterProcess() {
        ::kill(child_, SIGKILL);
        int status = 0;
        ::waitpid(child_, &status, 0);
    }
    bool Started() const { return child_ > 0; }

private:
    pid_t child_ = -1;
};

// The prices a close cut short by the writer can read as: every prefix of its text that is a
// number.
std::set<double> ClosePrefixValues(const std::string& closeText) {
    std::set<double> values;
    for (std::size_t length = 1; length <= closeText.size(); ++length) {
        try {
            values.insert(TextToPrice(closeText.substr(0, length), '.'));
        } catch (const QuillonError&) {
        }
    }
    return values;
}

// The candles of a complete run are BarCount consecutive bars of the file; only the newest close
// may be cut short.
bool CandlesAreFileBars(const TChartModel& chart, const std::vector<TGeneratedBar>& file,
                        const std::vector<std::string>& lines) {
    const std::vector<TCandle>& candles = chart.Series17().Candles();
    const auto matches = [](const TCandle& c, const TGeneratedBar& bar) {
        return c.open == PointsToPrice(bar.open) && c.high == PointsToPrice(bar.high) &&
               c.low == PointsToPrice(bar.low);
    };
    for (std::size_t first = 0; first + BarCount <= file.size(); ++first) {
        bool all = true;
        for (std::size_t row = 0; row < BarCount && all; ++row) {
            const TGeneratedBar& bar = file[first + row];
            all = matches(candles[row], bar) &&
                  (row + 1 == BarCount || candles[row].close == PointsToPrice(bar.close));
        }
        const std::size_t newest = first + BarCount - 1;
        if (all && ClosePrefixValues(CloseText(lines[newest])).contains(candles.back().close)) {
            return true;
        }
    }
    return false;
}

std::string Described(const TRunOutcome& outcome) {
    std::ostringstream text;
    text << outcome;
    return text.str();
}

TEST(LiveWriterTest, RunsMeetingAFileBeingRewrittenCompleteOrEndSilently) {
    TTempDir dir;
    const std::vector<TGeneratedBar> file = StandardBars();
    const std::vector<std::string> lines = BarLines(file);
    const std::string path = dir.Path("EURUSD60.csv");
    const TRunSettings settings{std::to_string(BarCount), "20", "8", path,
                                TReadSettings{'.', std::chrono::milliseconds(0)}};
    TBarLines barLines;
    TBarTable bars;
    for (int row = BarCount; row < SeriesCapacity; ++row) {
        bars.BarClose[row] = -row;
    }
    TChartModel chart;
    chart.Series20().AppendPoint(1.0, 2.0, "", clRed);

    std::map<std::string, int> ends;
    {
        TWriterProcess writer(path, JoinLines(lines, "\r\n"));
        ASSERT_TRUE(writer.Started());
        for (int run = 0; run < Runs; ++run) {
            const TRunOutcome outcome = RunAndJudge(settings, barLines, bars, chart);
            ++ends[Described(outcome)];
            // A missing, empty or short file fails at the first bar; a newest line cut before
            // its close fails at the last.
            const bool expected = outcome == Complete(BarCount) || outcome == SilentEnd(0) ||
                                  outcome == SilentEnd(BarCount - 1);
            ASSERT_TRUE(expected) << "run " << run << ": " << outcome;
            if (outcome.end == TRunEnd::Complete) {
                ASSERT_TRUE(CandlesAreFileBars(chart, file, lines)) << "run " << run;
            }
        }
    }
    for (const auto& [end, count] : ends) {
        std::cout << count << " runs: " << end << '\n';
    }
    EXPECT_GT(ends[Described(Complete(BarCount))], 0);
    for (int row = BarCount; row < SeriesCapacity; ++row) {
        ASSERT_EQ(bars.BarClose[row], -row) << "a row the runs do not load";
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path(""))) {
        EXPECT_EQ(entry.path().string(), path) << "the runs write no file";
    }
}

} // namespace
} // namespace quillon
